// The one-line box for the number of decimal places, in integer input mode:
// only "-" and digits can be typed, and the text is normalised to a plain
// integer when the box loses the keyboard focus.
#ifndef SUMORA_UI_DECIMALS_BOX_H_
#define SUMORA_UI_DECIMALS_BOX_H_

#include <QLineEdit>
#include <QString>

namespace sumora {

// The text the box holds after losing the focus: read as a signed 64-bit
// decimal integer (leading white space skipped, an optional sign, digits up
// to the first non-digit, no digits giving 0, saturating beyond 64 bits),
// limited to the 32-bit range, written plainly; 0 gives the empty text.
// NormalizeDecimalsText(" 007x") -> "7", NormalizeDecimalsText("-0") -> "".
QString NormalizeDecimalsText(const QString& text);

// True for a character the box accepts from the keyboard.
bool IsDecimalsCharacter(QChar c);

class DecimalsBox : public QLineEdit {
  Q_OBJECT

 public:
  explicit DecimalsBox(QWidget* parent = nullptr);

  // Applies NormalizeDecimalsText; when the text changes, the caret goes to
  // where the selection started.
  void Normalize();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void inputMethodEvent(QInputMethodEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
};

}  // namespace sumora

#endif  // SUMORA_UI_DECIMALS_BOX_H_
