#include "ui/artwork.h"

#include <QPainter>
#include <QPainterPath>

namespace sumora {
namespace {

const QColor kPanelBlue(52, 132, 220);
const QColor kPanelEdge(24, 86, 160);
const QColor kTextLine(28, 40, 56);
const QColor kHighlight(255, 210, 60);
const QColor kArrowBlue(30, 110, 230);

// One panel on a 32-unit grid; `first_line` colours its top line.
void DrawPanel(QPainter& painter, const QRectF& box, const QColor& first_line) {
  painter.setPen(QPen(kPanelEdge, 1.0));
  painter.setBrush(kPanelBlue);
  painter.drawRoundedRect(box, 3.0, 3.0);
  painter.setPen(Qt::NoPen);
  for (int row = 0; row < 4; ++row) {
    const double width = row == 3 ? box.width() - 8.5 : box.width() - 5.5;
    painter.setBrush(row == 0 ? first_line : kTextLine);
    painter.drawRoundedRect(
        QRectF(box.left() + 2.75, box.top() + 3.5 + row * 4.5, width, 2.0), 0.8,
        0.8);
  }
}

QPixmap DrawIcon(int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.scale(size / 32.0, size / 32.0);
  DrawPanel(painter, QRectF(1.5, 5.5, 14, 21), kTextLine);
  DrawPanel(painter, QRectF(16.5, 5.5, 14, 21), kHighlight);
  return pixmap;
}

// A 3 x 5 zero with its top-left pixel at x, y.
void DrawZero(QPainter& painter, int x, int y) {
  painter.fillRect(x, y, 3, 1, Qt::black);
  painter.fillRect(x, y + 4, 3, 1, Qt::black);
  painter.fillRect(x, y + 1, 1, 3, Qt::black);
  painter.fillRect(x + 2, y + 1, 1, 3, Qt::black);
}

}  // namespace

QIcon ApplicationIcon() {
  QIcon icon;
  for (int size : {16, 24, 32, 48, 64, 128, 256})
    icon.addPixmap(DrawIcon(size));
  return icon;
}

QPixmap DecimalsGlyph() {
  QPixmap glyph(16, 16);
  glyph.fill(Qt::white);
  QPainter painter(&glyph);
  // Upper row ".0", lower row ".00".
  painter.fillRect(1, 6, 1, 1, Qt::black);
  DrawZero(painter, 3, 2);
  painter.fillRect(1, 13, 1, 1, Qt::black);
  DrawZero(painter, 3, 9);
  DrawZero(painter, 7, 9);
  // The arrow beside the upper row, pointing left.
  painter.fillRect(9, 4, 6, 1, kArrowBlue);
  painter.fillRect(10, 3, 1, 3, kArrowBlue);
  painter.fillRect(11, 2, 1, 5, kArrowBlue);
  return glyph;
}

}  // namespace sumora
