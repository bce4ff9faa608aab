// The multi-line edit box of the window: plain text, wrapped at the box's
// width, that stays responsive with very long paragraphs.
//
// Qt wraps a run of text that has no break opportunity and is longer than a
// line (a pasted "1+1+1+..." of 100,000 characters) in time that grows with
// the square of the run, and it does so again for every keystroke in that
// paragraph. A box that holds a paragraph longer than kLongParagraph
// characters therefore wraps anywhere, which takes linear time; it returns
// to wrapping at word boundaries once no such paragraph is left.
#ifndef SUMORA_UI_TEXT_BOX_H_
#define SUMORA_UI_TEXT_BOX_H_

#include <QPlainTextEdit>
#include <QStringView>

namespace sumora {

inline constexpr int kLongParagraph = 4096;

// Length of the longest paragraph of the text, paragraphs ending at CR LF,
// lone CR, lone LF and U+2029 as a text box reads them.
qsizetype LongestParagraph(QStringView text);

class TextBox : public QPlainTextEdit {
  Q_OBJECT

 public:
  explicit TextBox(QWidget* parent = nullptr);

  // Call before the program writes text whose longest paragraph has the
  // given length, so that the box never wraps it the slow way.
  void PrepareForParagraph(qsizetype length);

  // setPlainText, prepared for the text's paragraphs.
  void SetText(const QString& text);

  // True while the box wraps anywhere because of a long paragraph.
  bool WrapsAnywhere() const;

 protected:
  void insertFromMimeData(const QMimeData* source) override;

 private:
  void NoteChange(int position, int removed, int added);
  void AfterChange();

  bool long_paragraph_touched_ = false;
};

}  // namespace sumora

#endif  // SUMORA_UI_TEXT_BOX_H_
