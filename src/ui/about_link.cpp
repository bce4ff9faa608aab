#include "ui/about_link.h"

#include <QMouseEvent>

namespace sumora {
namespace {

const QColor kRestingColor(192, 192, 192);
const QColor kHoverColor(128, 224, 0);

}  // namespace

AboutLink::AboutLink(const QString& caption, QWidget* parent)
    : QLabel(caption, parent) {
  setAlignment(Qt::AlignCenter);
  setTextFormat(Qt::PlainText);
  setAutoFillBackground(true);
  setCursor(Qt::PointingHandCursor);
  setFocusPolicy(Qt::NoFocus);
  SetCaptionColor(kRestingColor);
}

void AboutLink::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) {
    // Accepted, so that the press does not also start moving the window.
    event->accept();
    emit pressed();
    return;
  }
  QLabel::mousePressEvent(event);
}

void AboutLink::enterEvent(QEnterEvent* event) {
  SetCaptionColor(kHoverColor);
  QLabel::enterEvent(event);
}

void AboutLink::leaveEvent(QEvent* event) {
  SetCaptionColor(kRestingColor);
  QLabel::leaveEvent(event);
}

void AboutLink::SetCaptionColor(const QColor& color) {
  QPalette colors = palette();
  colors.setColor(QPalette::WindowText, color);
  colors.setColor(QPalette::Window, Qt::white);
  setPalette(colors);
}

}  // namespace sumora
