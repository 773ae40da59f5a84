#include "platform/ui/clipboard.h"

#include <QBuffer>
#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>

#include "platform/core/text.h"

namespace plat {

class Pasteboard {
public:
    QClipboard* clipboard = nullptr;
};

namespace {

QClipboard* clipboard() { return QGuiApplication::instance() ? QGuiApplication::clipboard() : nullptr; }

QByteArray bytes_of(const std::vector<std::uint8_t>& v) {
    return QByteArray(reinterpret_cast<const char*>(v.data()), static_cast<qsizetype>(v.size()));
}

QByteArray png_of(const Port& port) {
    const QImage image(reinterpret_cast<const uchar*>(port.pixels().data()), port.width(), port.height(),
                       port.width() * 4, QImage::Format_RGB32);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return png;
}

}  // namespace

Pasteboard* open_pasteboard() {
    QClipboard* c = clipboard();
    if (!c) return nullptr;
    auto* p = new Pasteboard;
    p->clipboard = c;
    return p;
}

void release_pasteboard(Pasteboard* p) { delete p; }

void put_scrap(const ScrapOut& out) {
    QClipboard* c = clipboard();
    if (!c) return;
    auto* mime = new QMimeData;
    if (!out.segs.empty()) mime->setData(segs_mime, bytes_of(out.segs));
    if (!out.pict.empty()) mime->setData(pict_mime, bytes_of(out.pict));
    if (out.image && out.image->width() > 0 && out.image->height() > 0) mime->setData(png_mime, png_of(*out.image));
    if (!out.text.empty()) mime->setText(QString::fromStdString(macroman_to_utf8(out.text)));
    c->setMimeData(mime);
}

bool scrap_flavour(Flavour f, std::vector<std::uint8_t>* data) {
    data->clear();
    QClipboard* c = clipboard();
    const QMimeData* mime = c ? c->mimeData() : nullptr;
    if (!mime) return false;
    if (f == Flavour::text) {
        std::string roman;
        bool replaced = false;
        if (!scrap_text(&roman, &replaced)) return false;
        data->assign(roman.begin(), roman.end());
        return true;
    }
    const char* type = f == Flavour::segs ? segs_mime : pict_mime;
    if (!mime->hasFormat(type)) return false;
    const QByteArray b = mime->data(type);
    data->assign(b.begin(), b.end());
    return true;
}

bool scrap_text(std::string* roman, bool* replaced) {
    roman->clear();
    *replaced = false;
    QClipboard* c = clipboard();
    const QMimeData* mime = c ? c->mimeData() : nullptr;
    if (!mime || !mime->hasText()) return false;
    *replaced = !utf8_to_macroman(mime->text().toStdString(), *roman);
    return true;
}

bool scrap_png(std::vector<std::uint8_t>* data) {
    data->clear();
    QClipboard* c = clipboard();
    const QMimeData* mime = c ? c->mimeData() : nullptr;
    if (!mime || !mime->hasFormat(png_mime)) return false;
    const QByteArray b = mime->data(png_mime);
    data->assign(b.begin(), b.end());
    return true;
}

void put_scrap_text_utf8(const std::string& utf8) {
    if (QClipboard* c = clipboard()) c->setText(QString::fromStdString(utf8));
}

}  // namespace plat
