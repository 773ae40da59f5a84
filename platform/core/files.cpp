#include "platform/core/files.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <algorithm>
#include <map>
#include <new>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace plat {

namespace {

struct OpenFile {
    int fd = -1;
    FileRef ref;
    std::int64_t mark = 0;
    Perm perm = Perm::read;
    bool budgeted = false;  // opened while a full disk is injected
    // The file's first bytes as it holds them, when kept in memory.
    bool mirrored = false;
    std::int64_t mirror_limit = 0;
    std::vector<char> mirror;
};

// Index i holds reference number i + 1.
std::vector<OpenFile> g_open;
IoStats g_stats;
std::int64_t g_write_budget = -1;  // bytes before an injected full disk; -1 none

OpenFile* lookup(std::int16_t refnum) {
    if (refnum <= 0 || refnum > static_cast<int>(g_open.size())) return nullptr;
    OpenFile& f = g_open[refnum - 1];
    return f.fd >= 0 ? &f : nullptr;
}

std::int16_t from_errno(int e) {
    switch (e) {
    case ENOENT: return fnfErr;
    case EEXIST: return dupFNErr;
    case EACCES:
    case EPERM: return permErr;
    case EROFS: return wPrErr;
    case ENOSPC: return dskFulErr;
    case ENOTDIR: return dirNFErr;
    case EMFILE:
    case ENFILE: return tmfoErr;
    case ENAMETOOLONG: return bdNamErr;
    default: return ioErr;
    }
}

std::filesystem::path env_dir(const char* var, const char* fallback_under_home) {
    const char* v = std::getenv(var);
    if (v && *v) return std::filesystem::path(v);
    const char* home = std::getenv("HOME");
    return std::filesystem::path(home && *home ? home : "/tmp") / fallback_under_home;
}

// What a write or resize that reached the file did to its first bytes.
void mirror_write(OpenFile& f, std::int64_t offset, const char* p, std::int64_t n) {
    if (!f.mirrored || n <= 0 || offset >= f.mirror_limit) return;
    const std::int64_t end = std::min(offset + n, f.mirror_limit);
    if (end > static_cast<std::int64_t>(f.mirror.size())) f.mirror.resize(static_cast<std::size_t>(end), 0);
    std::copy(p, p + (end - offset), f.mirror.begin() + offset);
}

void mirror_resize(OpenFile& f, std::int64_t eof) {
    if (!f.mirrored) return;
    f.mirror.resize(static_cast<std::size_t>(std::min(eof, f.mirror_limit)), 0);
}

}  // namespace

std::int16_t create_file(const FileRef& ref) {
    int fd = ::open(ref.path.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
    if (fd < 0) return from_errno(errno);
    ::close(fd);
    return noErr;
}

std::int16_t delete_file(const FileRef& ref) {
    if (::unlink(ref.path.c_str()) != 0) return from_errno(errno);
    return noErr;
}

bool file_exists(const FileRef& ref) {
    struct stat st;
    return ::stat(ref.path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool is_folder(const FileRef& ref) {
    struct stat st;
    return ::stat(ref.path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string lower_extension(const FileRef& ref) {
    std::string ext = ref.path.extension().string();
    for (char& c : ext)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return ext;
}

std::int16_t open_file(const FileRef& ref, Perm perm, std::int16_t* refnum) {
    *refnum = 0;
    int flags = perm == Perm::read ? O_RDONLY : perm == Perm::write ? O_WRONLY : O_RDWR;
    int fd = ::open(ref.path.c_str(), flags | O_CLOEXEC);
    if (fd < 0) return from_errno(errno);
    std::size_t slot = 0;
    while (slot < g_open.size() && g_open[slot].fd >= 0) ++slot;
    if (slot >= 32767) {
        ::close(fd);
        return tmfoErr;
    }
    if (slot == g_open.size()) g_open.emplace_back();
    g_open[slot] = OpenFile{fd, ref, 0, perm, g_write_budget >= 0, false, 0, {}};
    *refnum = static_cast<std::int16_t>(slot + 1);
    return noErr;
}

std::int16_t close_file(std::int16_t refnum) {
    OpenFile* f = lookup(refnum);
    if (!f) return rfNumErr;
    int r = ::close(f->fd);
    *f = OpenFile{};
    return r == 0 ? noErr : ioErr;
}

bool is_open(std::int16_t refnum) { return lookup(refnum) != nullptr; }

FileRef open_file_ref(std::int16_t refnum) {
    OpenFile* f = lookup(refnum);
    return f ? f->ref : FileRef{};
}

std::int16_t read_at(std::int16_t refnum, std::int64_t offset, void* buf, std::int64_t n,
                     std::int64_t* actual) {
    *actual = 0;
    OpenFile* f = lookup(refnum);
    if (!f) return rfNumErr;
    if (offset < 0 || n < 0) return posErr;
    ++g_stats.reads;
    auto* p = static_cast<char*>(buf);
    if (f->mirrored && offset + n <= static_cast<std::int64_t>(f->mirror.size())) {
        std::copy(f->mirror.begin() + offset, f->mirror.begin() + offset + n, p);
#if defined(__GNUC__)
        // Records are mostly read in order (a redraw walks the whole file a
        // block at a time): the next block is fetched into the cache while
        // this one's objects are drawn, so its copy does not wait on memory.
        const std::int64_t next = offset + n;
        if (n <= 4096 && next + n <= static_cast<std::int64_t>(f->mirror.size()))
            for (std::int64_t k = 0; k < n; k += 64) __builtin_prefetch(f->mirror.data() + next + k);
#endif
        g_stats.bytes_read += static_cast<std::uint64_t>(n);
        f->mark = offset + n;
        *actual = n;
        return noErr;
    }
    std::int64_t done = 0;
    while (done < n) {
        ssize_t r = ::pread(f->fd, p + done, static_cast<size_t>(n - done), offset + done);
        if (r < 0) {
            if (errno == EINTR) continue;
            f->mark = offset + done;
            *actual = done;
            return ioErr;
        }
        if (r == 0) break;
        done += r;
    }
    g_stats.bytes_read += static_cast<std::uint64_t>(done);
    f->mark = offset + done;
    *actual = done;
    return done < n ? eofErr : noErr;
}

std::int16_t write_at(std::int16_t refnum, std::int64_t offset, const void* buf, std::int64_t n,
                      std::int64_t* actual) {
    *actual = 0;
    OpenFile* f = lookup(refnum);
    if (!f) return rfNumErr;
    if (f->perm == Perm::read) return wPrErr;
    if (offset < 0 || n < 0) return posErr;
    ++g_stats.writes;
    auto* p = static_cast<const char*>(buf);
    std::int64_t done = 0;
    while (done < n) {
        std::int64_t chunk = n - done;
        const bool budgeted = f->budgeted && g_write_budget >= 0;
        if (budgeted) chunk = std::min(chunk, g_write_budget);
        ssize_t r = chunk > 0 ? ::pwrite(f->fd, p + done, static_cast<size_t>(chunk), offset + done) : -1;
        if (chunk == 0) errno = ENOSPC;
        if (r > 0 && budgeted) g_write_budget -= r;
        if (r < 0) {
            if (errno == EINTR) continue;
            mirror_write(*f, offset, p, done);
            f->mark = offset + done;
            *actual = done;
            g_stats.bytes_written += static_cast<std::uint64_t>(done);
            return from_errno(errno);
        }
        done += r;
    }
    mirror_write(*f, offset, p, done);
    g_stats.bytes_written += static_cast<std::uint64_t>(done);
    f->mark = offset + done;
    *actual = done;
    return noErr;
}

std::int16_t read(std::int16_t refnum, void* buf, std::int64_t n, std::int64_t* actual) {
    OpenFile* f = lookup(refnum);
    if (!f) {
        *actual = 0;
        return rfNumErr;
    }
    return read_at(refnum, f->mark, buf, n, actual);
}

std::int16_t write(std::int16_t refnum, const void* buf, std::int64_t n, std::int64_t* actual) {
    OpenFile* f = lookup(refnum);
    if (!f) {
        *actual = 0;
        return rfNumErr;
    }
    return write_at(refnum, f->mark, buf, n, actual);
}

std::int16_t get_eof(std::int16_t refnum, std::int64_t* eof) {
    *eof = 0;
    OpenFile* f = lookup(refnum);
    if (!f) return rfNumErr;
    struct stat st;
    if (::fstat(f->fd, &st) != 0) return ioErr;
    *eof = st.st_size;
    return noErr;
}

std::int16_t set_mark(std::int16_t refnum, SeekFrom from, std::int64_t offset) {
    OpenFile* f = lookup(refnum);
    if (!f) return rfNumErr;
    std::int64_t base = 0;
    if (from == SeekFrom::mark) base = f->mark;
    if (from == SeekFrom::end) {
        std::int16_t e = get_eof(refnum, &base);
        if (e != noErr) return e;
    }
    std::int64_t eof = 0;
    get_eof(refnum, &eof);
    std::int64_t target = base + offset;
    if (target < 0) return posErr;
    if (target > eof) {
        f->mark = eof;
        return eofErr;
    }
    f->mark = target;
    return noErr;
}

std::int16_t get_mark(std::int16_t refnum, std::int64_t* mark) {
    *mark = 0;
    OpenFile* f = lookup(refnum);
    if (!f) return rfNumErr;
    *mark = f->mark;
    return noErr;
}

std::int16_t set_eof(std::int16_t refnum, std::int64_t eof) {
    OpenFile* f = lookup(refnum);
    if (!f) return rfNumErr;
    if (eof < 0) return paramErr;
    if (f->perm == Perm::read) return wPrErr;
    std::int64_t old = 0;
    get_eof(refnum, &old);
    if (eof > old) {
        // Reserve the space now, so a full disk shows here and not in a later write.
        int r = ::posix_fallocate(f->fd, old, eof - old);
        if (r != 0 && r != EOPNOTSUPP && r != EINVAL) return from_errno(r);
    }
    if (::ftruncate(f->fd, eof) != 0) return from_errno(errno);
    mirror_resize(*f, eof);
    if (f->mark > eof) f->mark = eof;
    return noErr;
}

std::int16_t keep_in_memory(std::int16_t refnum, std::int64_t limit) {
    OpenFile* f = lookup(refnum);
    if (!f) return rfNumErr;
    if (limit < 0) return paramErr;
    std::int64_t eof = 0;
    if (std::int16_t e = get_eof(refnum, &eof); e != noErr) return e;
    std::vector<char> copy;
    try {
        copy.resize(static_cast<std::size_t>(std::min(eof, limit)));
    } catch (const std::bad_alloc&) {
        return noErr;  // reads simply keep going to the file
    }
    std::int64_t done = 0;
    while (done < static_cast<std::int64_t>(copy.size())) {
        const ssize_t r = ::pread(f->fd, copy.data() + done, copy.size() - done, done);
        if (r < 0 && errno == EINTR) continue;
        if (r <= 0) break;
        done += r;
    }
    copy.resize(static_cast<std::size_t>(done));
    f->mirror = std::move(copy);
    f->mirror_limit = limit;
    f->mirrored = true;
    return noErr;
}

std::int16_t flush(std::int16_t refnum) {
    OpenFile* f = lookup(refnum);
    if (!f) return rfNumErr;
    return ::fsync(f->fd) == 0 ? noErr : ioErr;
}

std::int16_t rename_file(const FileRef& from, const FileRef& to) {
    return ::rename(from.path.c_str(), to.path.c_str()) == 0 ? static_cast<std::int16_t>(noErr) : from_errno(errno);
}

std::int16_t sync_folder(const std::filesystem::path& folder) {
    int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return from_errno(errno);
    const int r = ::fsync(fd);
    ::close(fd);
    return r == 0 ? noErr : ioErr;
}

void fail_writes_after(std::int64_t bytes) { g_write_budget = bytes < 0 ? -1 : bytes; }

namespace {
std::map<std::int32_t, std::filesystem::path>& folders() {
    static std::map<std::int32_t, std::filesystem::path> m;
    return m;
}
}  // namespace

std::int32_t folder_id(const std::filesystem::path& folder) {
    std::filesystem::path norm = folder.lexically_normal();
    for (const auto& [id, p] : folders())
        if (p == norm) return id;
    // 2 is the root directory's id in the classic file system; ours start above it.
    auto id = static_cast<std::int32_t>(folders().size() + 3);
    folders()[id] = norm;
    return id;
}

std::filesystem::path folder_path(std::int16_t vol, std::int32_t dir) {
    if (vol != the_volume) return {};
    auto it = folders().find(dir);
    return it == folders().end() ? std::filesystem::path{} : it->second;
}

const IoStats& io_stats() { return g_stats; }
void reset_io_stats() { g_stats = IoStats{}; }

std::filesystem::path user_data_dir() { return env_dir("XDG_DATA_HOME", ".local/share") / "Dravelin"; }
std::filesystem::path user_config_dir() { return env_dir("XDG_CONFIG_HOME", ".config") / "Dravelin"; }

}  // namespace plat
