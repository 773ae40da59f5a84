#include "platform/ui/preferences.h"

#include <QSettings>
#include <QStringList>
#include <cmath>
#include <cstdlib>
#include <memory>

namespace plat {

namespace {

std::unique_ptr<QSettings> g_settings;
std::filesystem::path g_open_path;

QSettings& settings() {
    const std::filesystem::path path = preferences_file();
    if (!g_settings || path != g_open_path) {
        g_settings = std::make_unique<QSettings>(QString::fromStdString(path.string()),
                                                 QSettings::IniFormat);
        g_open_path = path;
    }
    return *g_settings;
}

QString qkey(const std::string& key) { return QString::fromStdString(key); }

}  // namespace

std::filesystem::path preferences_file() {
    const char* v = std::getenv("XDG_CONFIG_HOME");
    std::filesystem::path base;
    if (v && *v) {
        base = v;
    } else {
        const char* home = std::getenv("HOME");
        base = std::filesystem::path(home && *home ? home : "/tmp") / ".config";
    }
    return base / "Dravelin" / "Dravelin.conf";
}

std::optional<std::int32_t> get_int_pref(const std::string& key) {
    const QVariant v = settings().value(qkey(key));
    if (!v.isValid() || v.typeId() == QMetaType::QStringList) return std::nullopt;
    bool ok = false;
    const qlonglong n = v.toString().trimmed().toLongLong(&ok);
    if (!ok || n < INT32_MIN || n > INT32_MAX) return std::nullopt;
    return static_cast<std::int32_t>(n);
}

std::optional<double> get_double_pref(const std::string& key) {
    const QVariant v = settings().value(qkey(key));
    if (!v.isValid() || v.typeId() == QMetaType::QStringList) return std::nullopt;
    bool ok = false;
    const double d = v.toString().trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(d)) return std::nullopt;
    return d;
}

std::optional<std::vector<std::int16_t>> get_int16_list_pref(const std::string& key, int count) {
    const QVariant v = settings().value(qkey(key));
    if (!v.isValid()) return std::nullopt;
    const QStringList items = v.toStringList();
    if (items.size() != count) return std::nullopt;
    std::vector<std::int16_t> out;
    for (const QString& s : items) {
        bool ok = false;
        const int n = s.trimmed().toInt(&ok);
        if (!ok || n < INT16_MIN || n > INT16_MAX) return std::nullopt;
        out.push_back(static_cast<std::int16_t>(n));
    }
    return out;
}

void put_int_pref(const std::string& key, std::int32_t value) {
    settings().setValue(qkey(key), QString::number(value));
}

void put_double_pref(const std::string& key, double value) {
    settings().setValue(qkey(key), QString::number(value, 'g', 17));
}

void put_int16_list_pref(const std::string& key, const std::vector<std::int16_t>& values) {
    QStringList items;
    for (std::int16_t n : values) items << QString::number(n);
    settings().setValue(qkey(key), items);
}

void sync_prefs() { settings().sync(); }

void close_prefs() {
    g_settings.reset();
    g_open_path.clear();
}

}  // namespace plat
