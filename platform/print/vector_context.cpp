#include "platform/print/vector_context.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPen>

namespace plat {

struct VectorContext::Impl {
    QImage image;
    QPainter painter;
    QPainterPath path;
    QPen pen;
    QBrush brush{Qt::black};
    std::vector<std::pair<QPen, QBrush>> saved;
};

namespace {

QColor qcolor(RGBColor c) { return QColor::fromRgb(c.red >> 8, c.green >> 8, c.blue >> 8); }

}  // namespace

VectorContext::VectorContext(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}

VectorContext::~VectorContext() {
    if (impl_->painter.isActive()) impl_->painter.end();
}

std::unique_ptr<VectorContext> VectorContext::for_image(int width, int height, bool antialias) {
    constexpr int largest = 16384;
    if (width < 1 || height < 1 || width > largest || height > largest) return nullptr;
    auto impl = std::make_unique<Impl>();
    impl->image = QImage(width, height, QImage::Format_RGB32);
    if (impl->image.isNull()) return nullptr;
    impl->image.fill(Qt::white);
    impl->painter.begin(&impl->image);
    impl->painter.setRenderHint(QPainter::Antialiasing, antialias);
    impl->pen = QPen(Qt::black, 0);
    impl->pen.setCapStyle(Qt::FlatCap);
    return std::unique_ptr<VectorContext>(new VectorContext(std::move(impl)));
}

void VectorContext::move_to(double x, double y) { impl_->path.moveTo(x, y); }
void VectorContext::line_to(double x, double y) { impl_->path.lineTo(x, y); }
void VectorContext::curve_to(double c1x, double c1y, double c2x, double c2y, double x, double y) {
    impl_->path.cubicTo(c1x, c1y, c2x, c2y, x, y);
}
void VectorContext::add_rect(double x, double y, double w, double h) { impl_->path.addRect(x, y, w, h); }
void VectorContext::add_ellipse(double x, double y, double w, double h) { impl_->path.addEllipse(x, y, w, h); }
void VectorContext::close_path() { impl_->path.closeSubpath(); }

void VectorContext::stroke() {
    if (impl_->painter.isActive()) impl_->painter.strokePath(impl_->path, impl_->pen);
    impl_->path = QPainterPath();
}

void VectorContext::fill() {
    if (impl_->painter.isActive()) impl_->painter.fillPath(impl_->path, impl_->brush);
    impl_->path = QPainterPath();
}

void VectorContext::set_line_width(double w) { impl_->pen.setWidthF(w > 0 ? w : 0); }

void VectorContext::set_dash(const std::vector<double>& pattern) {
    if (pattern.empty() || pattern.size() % 2 != 0) {
        impl_->pen.setStyle(Qt::SolidLine);
        return;
    }
    QList<qreal> dashes;
    for (double d : pattern) dashes.push_back(d > 0 ? d : 0.01);
    impl_->pen.setDashPattern(dashes);
}

void VectorContext::set_stroke_color(RGBColor c) { impl_->pen.setColor(qcolor(c)); }
void VectorContext::set_fill_color(RGBColor c) { impl_->brush = QBrush(qcolor(c)); }

void VectorContext::translate(double dx, double dy) {
    if (impl_->painter.isActive()) impl_->painter.translate(dx, dy);
}

void VectorContext::scale(double sx, double sy) {
    if (impl_->painter.isActive()) impl_->painter.scale(sx, sy);
}

void VectorContext::save() {
    impl_->saved.emplace_back(impl_->pen, impl_->brush);
    if (impl_->painter.isActive()) impl_->painter.save();
}

void VectorContext::restore() {
    // A restore without its save changes nothing.
    if (impl_->saved.empty()) return;
    impl_->pen = impl_->saved.back().first;
    impl_->brush = impl_->saved.back().second;
    impl_->saved.pop_back();
    if (impl_->painter.isActive()) impl_->painter.restore();
}

int VectorContext::width() const { return impl_->image.width(); }
int VectorContext::height() const { return impl_->image.height(); }

std::uint32_t VectorContext::pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= impl_->image.width() || y >= impl_->image.height()) return 0xFFFFFF;
    return impl_->image.pixel(x, y) & 0xFFFFFF;
}

bool VectorContext::save_png(const char* path) {
    if (impl_->painter.isActive()) impl_->painter.end();
    return path && impl_->image.save(QString::fromUtf8(path), "PNG");
}

}  // namespace plat
