#include "platform/ui/smooth_image.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QTransform>
#include <algorithm>

namespace plat {

struct SmoothImage::Impl {
    QImage image;
    QTransform transform;
};

namespace {

QColor qcolor_of(const SmoothColor& c) {
    QColor q;
    q.setRgbF(static_cast<float>(std::clamp(c.red, 0.0, 1.0)), static_cast<float>(std::clamp(c.green, 0.0, 1.0)),
              static_cast<float>(std::clamp(c.blue, 0.0, 1.0)), static_cast<float>(std::clamp(c.alpha, 0.0, 1.0)));
    return q;
}

}  // namespace

SmoothImage::SmoothImage(const Port& source, const Rect& area) : impl_(std::make_unique<Impl>()) {
    const int w = std::max(0, area.right - area.left), h = std::max(0, area.bottom - area.top);
    impl_->image = QImage(std::max(w, 1), std::max(h, 1), QImage::Format_RGB32);
    impl_->image.fill(Qt::white);
    for (int y = 0; y < h; ++y) {
        const int sy = area.top + y;
        if (sy < 0 || sy >= source.height()) continue;
        auto* row = reinterpret_cast<std::uint32_t*>(impl_->image.scanLine(y));
        for (int x = 0; x < w; ++x) {
            const int sx = area.left + x;
            if (sx >= 0 && sx < source.width()) row[x] = source.pixel(sx, sy) | 0xFF000000u;
        }
    }
}

SmoothImage::~SmoothImage() = default;

int SmoothImage::width() const { return impl_->image.width(); }
int SmoothImage::height() const { return impl_->image.height(); }

void SmoothImage::flip_vertical() {
    impl_->transform = QTransform(1, 0, 0, -1, 0, impl_->image.height());
}

void SmoothImage::fill_rect(double left, double top, double right, double bottom, const SmoothColor& c) {
    QPainter p(&impl_->image);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setTransform(impl_->transform);
    p.fillRect(QRectF(QPointF(left, top), QPointF(right, bottom)).normalized(), qcolor_of(c));
}

void SmoothImage::stroke_line(double x1, double y1, double x2, double y2, const SmoothColor& c, double pen) {
    QPainter p(&impl_->image);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setTransform(impl_->transform);
    p.setPen(QPen(qcolor_of(c), pen, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(x1, y1), QPointF(x2, y2));
}

void SmoothImage::stroke_circle(double cx, double cy, double radius, const SmoothColor& c, double pen) {
    QPainter p(&impl_->image);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setTransform(impl_->transform);
    p.setPen(QPen(qcolor_of(c), pen));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(cx, cy), radius, radius);
}

std::vector<std::uint32_t> SmoothImage::pixels() const {
    const QImage& im = impl_->image;
    std::vector<std::uint32_t> out(static_cast<std::size_t>(im.width()) * im.height());
    for (int y = 0; y < im.height(); ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(im.constScanLine(y));
        std::copy(row, row + im.width(), out.begin() + static_cast<std::ptrdiff_t>(y) * im.width());
    }
    return out;
}

void SmoothImage::copy_to(Port& port, int left, int top) const {
    const QImage& im = impl_->image;
    int l = port.width(), t = port.height(), r = 0, b = 0;
    for (int y = 0; y < im.height(); ++y) {
        const int dy = top + y;
        if (dy < 0 || dy >= port.height()) continue;
        const auto* row = reinterpret_cast<const std::uint32_t*>(im.constScanLine(y));
        std::uint32_t* dst = port.row(dy);
        for (int x = 0; x < im.width(); ++x) {
            const int dx = left + x;
            if (dx < 0 || dx >= port.width()) continue;
            dst[dx] = row[x] | 0xFF000000u;
            l = std::min(l, dx);
            r = std::max(r, dx + 1);
            t = std::min(t, dy);
            b = std::max(b, dy + 1);
        }
    }
    if (r > l && b > t) port.mark_changed(l, t, r, b);
}

}  // namespace plat
