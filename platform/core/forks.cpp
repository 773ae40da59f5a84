#include "platform/core/forks.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace plat {

namespace {

constexpr std::size_t header_bytes = 26;  // magic, version, filler, count
constexpr std::size_t descriptor_bytes = 12;  // id, offset, length
// Resource forks stop at 16 MB; anything far larger is not a companion.
constexpr std::int64_t max_companion_bytes = 64LL << 20;

std::uint32_t get_u32(const std::uint8_t* p) {
    return std::uint32_t(p[0]) << 24 | std::uint32_t(p[1]) << 16 | std::uint32_t(p[2]) << 8 | p[3];
}
void put_u32(std::uint8_t* p, std::uint32_t v) {
    p[0] = static_cast<std::uint8_t>(v >> 24);
    p[1] = static_cast<std::uint8_t>(v >> 16);
    p[2] = static_cast<std::uint8_t>(v >> 8);
    p[3] = static_cast<std::uint8_t>(v);
}

std::int16_t errno_error(int e) {
    switch (e) {
    case ENOENT: return fnfErr;
    case ENOTDIR: return dirNFErr;
    case EACCES:
    case EPERM: return permErr;
    case EROFS: return wPrErr;
    case ENOSPC: return dskFulErr;
    case ENAMETOOLONG: return bdNamErr;
    default: return ioErr;
    }
}

std::int16_t read_whole(const std::filesystem::path& path, std::vector<std::uint8_t>* out) {
    out->clear();
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return errno_error(errno);
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size > max_companion_bytes) {
        ::close(fd);
        return eofErr;
    }
    out->resize(static_cast<std::size_t>(st.st_size));
    std::size_t done = 0;
    while (done < out->size()) {
        ssize_t r = ::read(fd, out->data() + done, out->size() - done);
        if (r < 0 && errno == EINTR) continue;
        if (r <= 0) break;
        done += static_cast<std::size_t>(r);
    }
    ::close(fd);
    out->resize(done);
    return noErr;
}

std::int16_t write_whole(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
    std::filesystem::path tmp = path;
    tmp += ".tmp";
    int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return errno_error(errno);
    std::size_t done = 0;
    while (done < bytes.size()) {
        ssize_t r = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (r < 0 && errno == EINTR) continue;
        if (r <= 0) {
            int e = r < 0 ? errno : ENOSPC;
            ::close(fd);
            ::unlink(tmp.c_str());
            return errno_error(e);
        }
        done += static_cast<std::size_t>(r);
    }
    if (::close(fd) != 0 || ::rename(tmp.c_str(), path.c_str()) != 0) {
        int e = errno;
        ::unlink(tmp.c_str());
        return errno_error(e);
    }
    return noErr;
}

}  // namespace

AppleDoubleEntry* AppleDouble::find(std::uint32_t id) {
    for (auto& e : entries)
        if (e.id == id) return &e;
    return nullptr;
}

const AppleDoubleEntry* AppleDouble::find(std::uint32_t id) const {
    for (const auto& e : entries)
        if (e.id == id) return &e;
    return nullptr;
}

FileRef companion_ref(const FileRef& file) {
    std::filesystem::path p = file.path;
    return FileRef{p.parent_path() / ("._" + p.filename().string())};
}

bool parse_apple_double(const std::vector<std::uint8_t>& bytes, AppleDouble* out) {
    *out = AppleDouble{};
    const std::size_t size = bytes.size();
    if (size < header_bytes) return false;
    const std::uint8_t* p = bytes.data();
    if (get_u32(p) != apple_double_magic || get_u32(p + 4) != apple_double_version) return false;
    std::size_t count = std::size_t(p[24]) << 8 | p[25];
    if (count > (size - header_bytes) / descriptor_bytes) return false;
    AppleDouble ad;
    std::memcpy(ad.filler, p + 8, sizeof ad.filler);
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t* d = p + header_bytes + i * descriptor_bytes;
        std::uint64_t offset = get_u32(d + 4), length = get_u32(d + 8);
        if (offset > size || length > size - offset) return false;
        AppleDoubleEntry e;
        e.id = get_u32(d);
        e.data.assign(p + offset, p + offset + length);
        ad.entries.push_back(std::move(e));
    }
    *out = std::move(ad);
    return true;
}

std::vector<std::uint8_t> format_apple_double(const AppleDouble& ad) {
    std::size_t offset = header_bytes + ad.entries.size() * descriptor_bytes;
    std::size_t total = offset;
    for (const auto& e : ad.entries) total += e.data.size();
    std::vector<std::uint8_t> out(total);
    std::uint8_t* p = out.data();
    put_u32(p, apple_double_magic);
    put_u32(p + 4, apple_double_version);
    std::memcpy(p + 8, ad.filler, sizeof ad.filler);
    p[24] = static_cast<std::uint8_t>(ad.entries.size() >> 8);
    p[25] = static_cast<std::uint8_t>(ad.entries.size());
    for (std::size_t i = 0; i < ad.entries.size(); ++i) {
        const auto& e = ad.entries[i];
        std::uint8_t* d = p + header_bytes + i * descriptor_bytes;
        put_u32(d, e.id);
        put_u32(d + 4, static_cast<std::uint32_t>(offset));
        put_u32(d + 8, static_cast<std::uint32_t>(e.data.size()));
        if (!e.data.empty()) std::memcpy(p + offset, e.data.data(), e.data.size());
        offset += e.data.size();
    }
    return out;
}

std::int16_t read_companion(const FileRef& file, AppleDouble* out) {
    *out = AppleDouble{};
    std::vector<std::uint8_t> bytes;
    std::int16_t err = read_whole(companion_ref(file).path, &bytes);
    if (err != noErr) return err;
    return parse_apple_double(bytes, out) ? noErr : eofErr;
}

std::int16_t write_companion(const FileRef& file, const AppleDouble& ad) {
    if (ad.entries.size() > 0xFFFF) return paramErr;
    std::size_t total = header_bytes + ad.entries.size() * descriptor_bytes;
    for (const auto& e : ad.entries) total += e.data.size();
    if (total > static_cast<std::size_t>(max_companion_bytes)) return paramErr;
    return write_whole(companion_ref(file).path, format_apple_double(ad));
}

std::int16_t remove_companion(const FileRef& file) {
    if (::unlink(companion_ref(file).path.c_str()) == 0 || errno == ENOENT) return noErr;
    return errno_error(errno);
}

std::int16_t get_type_creator(const FileRef& file, std::uint32_t* type, std::uint32_t* creator) {
    if (type) *type = 0;
    if (creator) *creator = 0;
    AppleDouble ad;
    std::int16_t err = read_companion(file, &ad);
    if (err != noErr) return err;
    const AppleDoubleEntry* info = ad.find(ad_finder_info);
    if (!info || info->data.size() < ad_finder_info_bytes) return eofErr;
    if (type) *type = get_u32(info->data.data());
    if (creator) *creator = get_u32(info->data.data() + 4);
    return noErr;
}

std::int16_t set_type_creator(const FileRef& file, std::uint32_t type, std::uint32_t creator) {
    if (!file_exists(file)) return fnfErr;
    AppleDouble ad;
    std::int16_t err = read_companion(file, &ad);
    if (err != noErr && err != fnfErr && err != eofErr) return err;
    AppleDoubleEntry* info = ad.find(ad_finder_info);
    if (!info) {
        // Finder information goes first, as other writers of companions put it.
        ad.entries.insert(ad.entries.begin(), AppleDoubleEntry{ad_finder_info, {}});
        info = &ad.entries.front();
    }
    if (info->data.size() < ad_finder_info_bytes) info->data.resize(ad_finder_info_bytes, 0);
    put_u32(info->data.data(), type);
    put_u32(info->data.data() + 4, creator);
    return write_companion(file, ad);
}

}  // namespace plat
