#include "platform/core/forks.h"

#include <cerrno>
#include <cstring>
#include <set>
#include <utility>
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
std::uint32_t get_u24(const std::uint8_t* p) {
    return std::uint32_t(p[0]) << 16 | std::uint32_t(p[1]) << 8 | p[2];
}
void put_u24(std::uint8_t* p, std::uint32_t v) {
    p[0] = static_cast<std::uint8_t>(v >> 16);
    p[1] = static_cast<std::uint8_t>(v >> 8);
    p[2] = static_cast<std::uint8_t>(v);
}
std::uint16_t get_u16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] << 8 | p[1]); }
void put_u16(std::uint8_t* p, std::uint32_t v) {
    p[0] = static_cast<std::uint8_t>(v >> 8);
    p[1] = static_cast<std::uint8_t>(v);
}

// The classic resource fork layout.
constexpr std::size_t fork_header_bytes = 16;
constexpr std::size_t fork_data_start = 256;  // the header and the area kept for the system
constexpr std::size_t map_header_bytes = 28;  // header copy, two handles, attributes, two offsets
constexpr std::size_t type_entry_bytes = 8;   // type, count - 1, offset of its reference list
constexpr std::size_t ref_entry_bytes = 12;   // id, name offset, attributes, data offset, handle
constexpr std::uint16_t no_name = 0xFFFF;
// Data offsets are 24-bit; a resource's data starts within the first 16 MB.
constexpr std::size_t max_data_offset = 0xFFFFFF;
constexpr std::size_t max_resource_bytes = 16u << 20;
constexpr std::size_t max_name_bytes = 255;

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

// ---- Resource forks ----

std::int16_t ResourceFork::parse(const std::vector<std::uint8_t>& bytes) {
    clear();
    if (bytes.empty()) return noErr;
    const std::uint64_t size = bytes.size();
    if (size < fork_header_bytes) return mapReadErr;
    const std::uint8_t* p = bytes.data();
    const std::uint64_t data_off = get_u32(p), map_off = get_u32(p + 4);
    const std::uint64_t data_len = get_u32(p + 8), map_len = get_u32(p + 12);
    if (data_off > size || data_len > size - data_off || map_off > size || map_len > size - map_off)
        return mapReadErr;
    if (map_len < map_header_bytes + 2) return mapReadErr;
    if (data_len > 0 && data_off < map_off + map_len && map_off < data_off + data_len) return mapReadErr;

    const std::uint8_t* map = p + map_off;
    const std::uint8_t* data = p + data_off;
    const std::uint64_t types_at = get_u16(map + 24), names_at = get_u16(map + 26);
    if (types_at < map_header_bytes || types_at + 2 > map_len || names_at > map_len) return mapReadErr;
    const std::uint64_t type_count = (get_u16(map + types_at) + 1u) & 0xFFFFu;  // 0xFFFF: none
    if (types_at + 2 + type_count * type_entry_bytes > map_len) return mapReadErr;

    ResourceFork fork;
    fork.attributes_ = get_u16(map + 22);
    std::set<std::uint32_t> types_seen;
    std::set<std::pair<std::uint32_t, std::int16_t>> seen;
    // Reference lists and data never share bytes in a sound fork; counting
    // them keeps a crafted map from multiplying what it makes us copy.
    std::uint64_t refs_total = 0, data_total = 0;
    for (std::uint64_t t = 0; t < type_count; ++t) {
        const std::uint8_t* te = map + types_at + 2 + t * type_entry_bytes;
        const std::uint32_t type = get_u32(te);
        const std::uint64_t count = get_u16(te + 4) + 1u;
        const std::uint64_t refs_at = types_at + get_u16(te + 6);
        if (!types_seen.insert(type).second) return mapReadErr;
        refs_total += count;
        if (refs_total * ref_entry_bytes > map_len || refs_at + count * ref_entry_bytes > map_len)
            return mapReadErr;
        for (std::uint64_t r = 0; r < count; ++r) {
            const std::uint8_t* re = map + refs_at + r * ref_entry_bytes;
            Resource res;
            res.type = type;
            res.id = static_cast<std::int16_t>(get_u16(re));
            if (!seen.insert({type, res.id}).second) return mapReadErr;
            const std::uint16_t name_off = get_u16(re + 2);
            if (name_off != no_name) {
                const std::uint64_t at = names_at + name_off;
                if (at >= map_len || at + 1 + map[at] > map_len) return mapReadErr;
                res.name.assign(reinterpret_cast<const char*>(map + at + 1), map[at]);
            }
            res.attributes = re[4];
            const std::uint64_t at = get_u24(re + 5);
            if (at + 4 > data_len) return mapReadErr;
            const std::uint64_t len = get_u32(data + at);
            if (len > data_len - at - 4) return mapReadErr;
            data_total += 4 + len;
            if (data_total > data_len) return mapReadErr;
            res.data.assign(data + at + 4, data + at + 4 + len);
            fork.resources_.push_back(std::move(res));
        }
    }
    *this = std::move(fork);
    return noErr;
}

bool ResourceFork::format(std::vector<std::uint8_t>* out) const {
    out->clear();
    // One reference list per type, types in the order they first appear.
    std::vector<std::uint32_t> types;
    std::vector<std::vector<const Resource*>> lists;
    for (const Resource& r : resources_) {
        std::size_t t = 0;
        while (t < types.size() && types[t] != r.type) ++t;
        if (t == types.size()) {
            types.push_back(r.type);
            lists.emplace_back();
        }
        lists[t].push_back(&r);
    }
    if (types.size() > 0x10000) return false;

    std::size_t data_len = 0, names_len = 0;
    for (const Resource& r : resources_) {
        if (r.data.size() > max_resource_bytes || r.name.size() > max_name_bytes) return false;
        data_len += 4 + r.data.size();
        if (!r.name.empty()) names_len += 1 + r.name.size();
    }
    const std::size_t refs_at = 2 + types.size() * type_entry_bytes;  // from the type list
    const std::size_t names_at = map_header_bytes + refs_at + resources_.size() * ref_entry_bytes;
    if (names_at > 0xFFFF) return false;
    const std::size_t map_len = names_at + names_len;
    const std::size_t map_off = fork_data_start + data_len;
    if (map_off + map_len > 0xFFFFFFFFu) return false;

    std::vector<std::uint8_t> b(map_off + map_len, 0);
    put_u32(&b[0], static_cast<std::uint32_t>(fork_data_start));
    put_u32(&b[4], static_cast<std::uint32_t>(map_off));
    put_u32(&b[8], static_cast<std::uint32_t>(data_len));
    put_u32(&b[12], static_cast<std::uint32_t>(map_len));
    std::uint8_t* map = &b[map_off];
    std::memcpy(map, b.data(), fork_header_bytes);
    put_u16(map + 22, attributes_);
    put_u16(map + 24, map_header_bytes);
    put_u16(map + 26, static_cast<std::uint32_t>(names_at));
    std::uint8_t* type_list = map + map_header_bytes;
    put_u16(type_list, static_cast<std::uint32_t>(types.size() - 1));  // none: 0xFFFF

    std::size_t data_at = 0, name_at = 0, ref_at = refs_at;
    for (std::size_t t = 0; t < types.size(); ++t) {
        std::uint8_t* te = type_list + 2 + t * type_entry_bytes;
        if (ref_at > 0xFFFF) return false;
        put_u32(te, types[t]);
        put_u16(te + 4, static_cast<std::uint32_t>(lists[t].size() - 1));
        put_u16(te + 6, static_cast<std::uint32_t>(ref_at));
        for (const Resource* r : lists[t]) {
            std::uint8_t* re = type_list + ref_at;
            put_u16(re, static_cast<std::uint16_t>(r->id));
            if (r->name.empty()) {
                put_u16(re + 2, no_name);
            } else {
                if (name_at >= no_name) return false;
                put_u16(re + 2, static_cast<std::uint32_t>(name_at));
                std::uint8_t* n = map + names_at + name_at;
                n[0] = static_cast<std::uint8_t>(r->name.size());
                std::memcpy(n + 1, r->name.data(), r->name.size());
                name_at += 1 + r->name.size();
            }
            re[4] = r->attributes;
            if (data_at > max_data_offset) return false;
            put_u24(re + 5, static_cast<std::uint32_t>(data_at));
            std::uint8_t* d = &b[fork_data_start + data_at];
            put_u32(d, static_cast<std::uint32_t>(r->data.size()));
            if (!r->data.empty()) std::memcpy(d + 4, r->data.data(), r->data.size());
            data_at += 4 + r->data.size();
            ref_at += ref_entry_bytes;
        }
    }
    *out = std::move(b);
    return true;
}

const Resource* ResourceFork::find(std::uint32_t type, std::int16_t id) const {
    for (const Resource& r : resources_)
        if (r.type == type && r.id == id) return &r;
    return nullptr;
}

bool ResourceFork::put(std::uint32_t type, std::int16_t id, const std::string& name,
                       std::vector<std::uint8_t> data) {
    if (name.size() > max_name_bytes || data.size() > max_resource_bytes) return false;
    Resource res{type, id, name, 0, std::move(data)};
    for (Resource& r : resources_) {
        if (r.type == type && r.id == id) {
            r = std::move(res);
            return true;
        }
    }
    resources_.push_back(std::move(res));
    return true;
}

bool ResourceFork::remove(std::uint32_t type, std::int16_t id) {
    for (auto it = resources_.begin(); it != resources_.end(); ++it) {
        if (it->type == type && it->id == id) {
            resources_.erase(it);
            return true;
        }
    }
    return false;
}

std::int16_t ResourceFork::load(const FileRef& file) {
    clear();
    AppleDouble ad;
    std::int16_t err = read_companion(file, &ad);
    if (err != noErr) return err;
    const AppleDoubleEntry* fork = ad.find(ad_resource_fork);
    return fork ? parse(fork->data) : std::int16_t{noErr};
}

std::int16_t ResourceFork::save(const FileRef& file) const {
    if (!file_exists(file)) return fnfErr;
    std::vector<std::uint8_t> bytes;
    if (!format(&bytes)) return paramErr;
    AppleDouble ad;
    std::int16_t err = read_companion(file, &ad);
    if (err != noErr && err != fnfErr && err != eofErr) return err;
    if (AppleDoubleEntry* fork = ad.find(ad_resource_fork))
        fork->data = std::move(bytes);
    else
        ad.entries.push_back(AppleDoubleEntry{ad_resource_fork, std::move(bytes)});
    return write_companion(file, ad);
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
