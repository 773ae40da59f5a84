#include "platform/ui/text_drawing.h"

#include <QFont>
#include <QImage>
#include <QPainter>
#include <algorithm>

namespace plat {

namespace {
QColor colour_of(const RGBColor& c) { return QColor::fromRgba64(c.red, c.green, c.blue); }
}  // namespace

void draw_text_line(Port* port, const Rect& box, const std::string& utf8) {
    if (!port || port->width() == 0 || port->height() == 0) return;
    port->erase_rect(box);
    const Point o = port->origin();
    const int l = std::max(box.left - o.h, 0), t = std::max(box.top - o.v, 0);
    const int r = std::min(box.right - o.h, port->width()), b = std::min(box.bottom - o.v, port->height());
    if (r <= l || b <= t) return;
    QImage image(reinterpret_cast<uchar*>(port->row(0)), port->width(), port->height(), port->width() * 4,
                 QImage::Format_RGB32);
    {
        QPainter painter(&image);
        painter.setClipRect(QRect(l, t, r - l, b - t));
        painter.setPen(colour_of(port->fore_color()));
        QFont font = painter.font();
        font.setPixelSize(std::clamp((b - t) * 2 / 3, 8, 13));
        painter.setFont(font);
        painter.drawText(QRect(l + 3, t, r - l - 3, b - t), Qt::AlignLeft | Qt::AlignVCenter,
                         QString::fromStdString(utf8));
    }
    port->mark_changed(l, t, r, b);
}

}  // namespace plat
