// The link that puts the about text in front of the input: a caption in
// light grey that turns green under the mouse pointer, with a hand pointer.
// It opens nothing itself; a press of the left button emits pressed().
#ifndef SUMORA_UI_ABOUT_LINK_H_
#define SUMORA_UI_ABOUT_LINK_H_

#include <QLabel>

namespace sumora {

class AboutLink : public QLabel {
  Q_OBJECT

 public:
  explicit AboutLink(const QString& caption, QWidget* parent = nullptr);

 signals:
  void pressed();

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  void SetCaptionColor(const QColor& color);
};

}  // namespace sumora

#endif  // SUMORA_UI_ABOUT_LINK_H_
