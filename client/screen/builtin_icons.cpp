// The built-in icons, drawn with a painter on a 16 x 16 transparent pixmap.
#include "client/screen/builtin_icons.h"

#include <QPainter>
#include <QPainterPath>

namespace veslink {

namespace {
const QColor kFolder(0xE8, 0xC0, 0x40);
const QColor kOutline(0x60, 0x50, 0x20);

void folder(QPainter& p, const QColor& fill) {
  p.setPen(kOutline);
  p.setBrush(fill.darker(115));
  p.drawRect(1, 3, 6, 2);  // the tab
  p.setBrush(fill);
  p.drawRect(1, 5, 13, 9);
}

void magnifier(QPainter& p, int x, int y) {
  p.setPen(QPen(Qt::black, 1.5));
  p.setBrush(QColor(0xC0, 0xE0, 0xFF));
  p.drawEllipse(QRectF(x, y, 6, 6));
  p.drawLine(QPointF(x + 5.5, y + 5.5), QPointF(x + 8.5, y + 8.5));
}

void tools(QPainter& p, const QColor& background, int dx, int dy) {
  p.setPen(QPen(QColor(0x50, 0x50, 0x50), 2));
  p.drawLine(dx + 2, dy + 11, dx + 9, dy + 4);  // a spanner's handle
  p.setPen(QPen(background.darker(140), 1));
  p.setBrush(background.darker(140));
  p.drawEllipse(QRectF(dx + 8, dy + 1, 5, 5));
  p.setPen(QPen(QColor(0x90, 0x30, 0x20), 2));
  p.drawLine(dx + 3, dy + 3, dx + 11, dy + 11);  // a screwdriver
}
}  // namespace

bool builtin_icon_exists(int n) {
  return (n >= 1 && n <= 18) || n == 22;
}

QPixmap builtin_icon(int n, const QColor& background) {
  if (!builtin_icon_exists(n)) return {};
  QPixmap pixmap(16, 16);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing, true);
  switch (n) {
    case 1:
      folder(p, kFolder);
      break;
    case 2:
      folder(p, kFolder);
      p.setPen(Qt::black);
      p.setBrush(QColor(0x30, 0x80, 0xD0));
      p.drawRect(6, 7, 5, 4);
      break;
    case 3:
      folder(p, kFolder);
      tools(p, background, 3, 2);
      break;
    case 4:  // a window with a form
      p.setPen(Qt::black);
      p.setBrush(background);
      p.drawRect(1, 2, 13, 12);
      p.fillRect(2, 3, 12, 2, QColor(0x00, 0x00, 0x80));
      p.fillRect(4, 7, 8, 2, Qt::white);
      p.fillRect(4, 10, 8, 2, Qt::white);
      break;
    case 5:  // a printer
      p.setPen(Qt::black);
      p.setBrush(Qt::white);
      p.drawRect(4, 1, 8, 5);
      p.setBrush(background);
      p.drawRect(1, 6, 14, 6);
      p.setBrush(Qt::white);
      p.drawRect(4, 10, 8, 5);
      p.fillRect(12, 8, 2, 1, Qt::green);
      break;
    case 6:  // a flow between two containers
      p.setPen(Qt::black);
      p.setBrush(QColor(0x40, 0x80, 0xC0));
      p.drawRect(0, 8, 5, 7);
      p.drawRect(11, 8, 5, 7);
      p.setPen(QPen(QColor(0xC0, 0x30, 0x30), 1.5));
      p.drawArc(QRectF(2, 2, 12, 12), 20 * 16, 140 * 16);
      p.drawLine(QPointF(12.5, 5), QPointF(13.5, 8));
      break;
    case 7:
      tools(p, background, 1, 1);
      break;
    case 8:  // a document page
      p.setPen(Qt::black);
      p.setBrush(Qt::white);
      p.drawPolygon(QPolygon({QPoint(3, 1), QPoint(10, 1), QPoint(13, 4), QPoint(13, 15),
                              QPoint(3, 15)}));
      for (int y = 5; y <= 12; y += 2)
        p.drawLine(5, y, 11, y);
      break;
    case 9: {  // a question mark
      QFont font = p.font();
      font.setPixelSize(15);
      font.setBold(true);
      p.setFont(font);
      p.setPen(QColor(0x00, 0x00, 0xC0));
      p.drawText(QRect(0, 0, 16, 16), Qt::AlignCenter, QStringLiteral("?"));
      break;
    }
    case 10:  // blank
      break;
    case 11: {
      folder(p, kFolder);
      QPainterPath heart;
      heart.moveTo(8, 13);
      heart.cubicTo(2, 9, 4, 5, 8, 8);
      heart.cubicTo(12, 5, 14, 9, 8, 13);
      p.setPen(Qt::NoPen);
      p.setBrush(Qt::red);
      p.drawPath(heart);
      break;
    }
    case 12:  // a padlock
      folder(p, kFolder);
      p.setPen(QPen(Qt::black, 1.2));
      p.setBrush(Qt::NoBrush);
      p.drawArc(QRectF(6, 5, 5, 6), 0, 180 * 16);
      p.setBrush(QColor(0xD0, 0xA0, 0x00));
      p.drawRect(5, 8, 7, 5);
      break;
    case 13:  // a tick
      p.setPen(QPen(QColor(0x00, 0x90, 0x00), 2.5));
      p.drawPolyline(QPolygon({QPoint(2, 8), QPoint(6, 12), QPoint(14, 3)}));
      break;
    case 14:  // a cross
      p.setPen(QPen(QColor(0xD0, 0x00, 0x00), 2.5));
      p.drawLine(3, 3, 13, 13);
      p.drawLine(13, 3, 3, 13);
      break;
    case 15:
      folder(p, QColor(0xE0, 0x40, 0x40));
      break;
    case 16:
      folder(p, QColor(0x40, 0xB0, 0x40));
      break;
    case 17:
      folder(p, QColor(0x40, 0x70, 0xE0));
      break;
    case 18:
      folder(p, kFolder);
      magnifier(p, 5, 5);
      break;
    case 22:  // a globe
      p.setPen(QPen(QColor(0x00, 0x40, 0x80), 1));
      p.setBrush(QColor(0x60, 0xA0, 0xE0));
      p.drawEllipse(QRectF(1, 1, 14, 14));
      p.setBrush(Qt::NoBrush);
      p.drawEllipse(QRectF(5, 1, 6, 14));
      p.drawLine(1, 8, 15, 8);
      p.drawLine(3, 4, 13, 4);
      p.drawLine(3, 12, 13, 12);
      break;
    default:
      break;
  }
  return pixmap;
}

}  // namespace veslink
