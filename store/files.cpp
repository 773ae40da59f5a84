#include "store/files.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <system_error>
#include <vector>

#include "base/command_loop.h"
#include "base/messages.h"
#include "platform/core/forks.h"
#include "platform/core/memory.h"
#include "platform/core/text.h"

namespace drav {

std::uint32_t searchindex = 1;

const std::uint16_t wordmasks[16] = {1,    2,    4,    8,     16,    32,    64,    128,
                                     256,  512,  1024, 2048,  4096,  8192,  16384, 32768};

namespace {

constexpr std::uint16_t transfer_failed = 65535;
constexpr std::uint16_t end_of_file = 65535;
constexpr int CR = 13, LF = 10;

// A Mac name may hold '/', which the desktop shows as ':' (and back).
std::string desktop_name(const char* roman) {
    std::string u = plat::macroman_to_utf8(roman);
    std::replace(u.begin(), u.end(), '/', ':');
    return u;
}

// The path of `name` in `folder`; empty when either cannot name a file.
std::filesystem::path path_in(const std::filesystem::path& folder, const char* name) {
    if (folder.empty() || !name || !*name) return {};
    std::string u = desktop_name(name);
    if (u == "." || u == "..") return {};
    return folder / u;
}

std::filesystem::path path_in(std::int16_t vol, std::int32_t dir, const char* name) {
    return path_in(plat::folder_path(vol, dir), name);
}

std::int16_t open_path(const std::filesystem::path& p, std::int8_t perm, std::int16_t* ref) {
    if (!ref) return plat::paramErr;
    *ref = 0;
    if (p.empty()) return plat::bdNamErr;
    const plat::FileRef fr{p};
    if (plat::is_folder(fr)) return plat::fnfErr;
    switch (perm) {
    case fsRdPerm: return plat::open_file(fr, plat::Perm::read, ref);
    case fsWrPerm: return plat::open_file(fr, plat::Perm::write, ref);
    case fsRdWrPerm:
    case fsRdWrShPerm: return plat::open_file(fr, plat::Perm::read_write, ref);
    case fsCurPerm: {
        // Whatever the file allows.
        std::int16_t e = plat::open_file(fr, plat::Perm::read_write, ref);
        if (e == plat::permErr || e == plat::wPrErr) e = plat::open_file(fr, plat::Perm::read, ref);
        return e;
    }
    default: return plat::paramErr;
    }
}

std::int16_t remove_path(const std::filesystem::path& p) {
    if (p.empty() || !plat::file_exists(plat::FileRef{p})) return 0;
    if (plat::delete_file(plat::FileRef{p}) != plat::noErr) return 0;
    plat::remove_companion(plat::FileRef{p});
    return 1;
}

std::int16_t present(const std::filesystem::path& p) {
    return !p.empty() && plat::file_exists(plat::FileRef{p}) ? 1 : 0;
}

// Sizes the data fork of `p` to `size` bytes, with the space allocated.
bool size_data_fork(const std::filesystem::path& p, std::int64_t size) {
    std::int16_t ref = 0;
    if (plat::open_file(plat::FileRef{p}, plat::Perm::read_write, &ref) != plat::noErr) return false;
    bool ok = plat::set_eof(ref, size) == plat::noErr;
    plat::close_file(ref);
    return ok;
}

std::int16_t found_or_alert(const std::filesystem::path& p, int alert) {
    std::int16_t ref = 0;
    // Data files may be installed read-only; reading is what the callers need.
    if (open_path(p, fsCurPerm, &ref) == plat::noErr) {
        plat::close_file(ref);
        return 1;
    }
    // TODO(locate_file_dialog)
    pr_alert(alert, alert_standard);
    return 0;
}

// From `searchindex` on, the next file of the folder (in name order) with
// the given type and creator; companions are not entries of their own.
std::int16_t find_type_creator(const std::filesystem::path& folder, char* namebuf, OSType type,
                               OSType creator) {
    if (namebuf) namebuf[0] = 0;
    if (folder.empty()) return plat::dirNFErr;
    std::vector<std::filesystem::path> entries;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::string n = it->path().filename().string();
        if (n.rfind("._", 0) != 0) entries.push_back(it->path());
    }
    std::sort(entries.begin(), entries.end(),
              [](const auto& a, const auto& b) { return a.filename().string() < b.filename().string(); });
    if (searchindex < 1) searchindex = 1;
    while (searchindex <= entries.size()) {
        const std::filesystem::path& p = entries[searchindex - 1];
        ++searchindex;
        const plat::FileRef fr{p};
        if (!plat::file_exists(fr)) continue;
        std::uint32_t t = 0, c = 0;
        if (plat::get_type_creator(fr, &t, &c) != plat::noErr || t != type || c != creator) continue;
        std::string u = p.filename().string();
        std::replace(u.begin(), u.end(), ':', '/');
        std::string roman;
        // A name the caller could not hold or spell would not open again.
        if (!plat::utf8_to_macroman(u, roman) || roman.size() >= std::size_t(file_name_bytes)) continue;
        if (namebuf) std::memcpy(namebuf, roman.c_str(), roman.size() + 1);
        return 0;
    }
    return plat::fnfErr;
}

// One byte at the mark, or -1 at the end of the file or on an error.
int next_byte(std::int16_t ref) {
    unsigned char c = 0;
    std::int64_t got = 0;
    plat::read(ref, &c, 1, &got);
    return got == 1 ? c : -1;
}

void step_back(std::int16_t ref) { plat::set_mark(ref, plat::SeekFrom::mark, -1); }

// Having read CR: a following LF belongs to it, anything else is read again.
// False when the CR was the last byte of the file.
bool finish_cr(std::int16_t ref) {
    int d = next_byte(ref);
    if (d < 0) return false;
    if (d != LF) step_back(ref);
    return true;
}

// The line reader of both forms; `store_ends` stores CR and LF under keep.
// A line cut at max leaves its next byte for the next call, and a line end
// right after the cut is taken with it, so no empty line follows.
std::uint16_t read_line(std::int16_t ref, char* buf, int max, bool keep, bool store_ends) {
    if (!buf) return end_of_file;
    buf[0] = 0;
    if (max < 1) return end_of_file;
    int n = 0;
    for (;;) {
        int c = next_byte(ref);
        if (c < 0) break;
        if (c == CR || c == LF) {
            if (store_ends && keep) buf[n++] = static_cast<char>(c);
            if (c == CR && !finish_cr(ref)) break;
            buf[n] = 0;
            return static_cast<std::uint16_t>(n);
        }
        if (c >= 32 || keep) buf[n++] = static_cast<char>(c);
        if (n >= max) {
            if (!(store_ends && keep)) {
                int d = next_byte(ref);
                if (d == CR)
                    finish_cr(ref);
                else if (d >= 0 && d != LF)
                    step_back(ref);
            }
            buf[n] = 0;
            return static_cast<std::uint16_t>(n);
        }
    }
    buf[n] = 0;
    return n == 0 ? end_of_file : static_cast<std::uint16_t>(n);
}

void out_of_memory() {
    quit = 1;
    if (memory_release_hook) memory_release_hook();
    show_error(err_no_memory, 0);
}

}  // namespace

// ---- Positioning and transfer ----

std::int32_t getputfpos(std::int16_t ref, std::int32_t pos, int mode) {
    if (mode < 0 || mode > 2) return -1;
    plat::set_mark(ref, static_cast<plat::SeekFrom>(mode), pos);
    std::int64_t mark = 0;
    if (plat::get_mark(ref, &mark) != plat::noErr || mark > INT32_MAX) return -1;
    return static_cast<std::int32_t>(mark);
}

std::int32_t filerecs(std::int16_t ref, std::int32_t size) {
    std::int64_t eof = 0;
    if (size <= 0 || plat::get_eof(ref, &eof) != plat::noErr) return -1;
    return static_cast<std::int32_t>(std::min<std::int64_t>(eof / size, INT32_MAX));
}

std::int32_t fileposition(std::int16_t ref, std::int32_t size) {
    std::int64_t mark = 0;
    if (size <= 0 || plat::get_mark(ref, &mark) != plat::noErr) return -1;
    return static_cast<std::int32_t>(std::min<std::int64_t>(mark / size, INT32_MAX));
}

std::int32_t rseek(std::int16_t ref, std::int32_t size, std::int32_t n) {
    if (size <= 0 || n < 0) return -1;
    const std::int64_t target = std::int64_t(n) * size;
    std::int16_t e = plat::set_mark(ref, plat::SeekFrom::start, target);
    if (e == plat::eofErr) {
        if (plat::set_eof(ref, target) != plat::noErr) return -1;
        e = plat::set_mark(ref, plat::SeekFrom::start, target);
    }
    if (e != plat::noErr) return -1;
    return fileposition(ref, size);
}

std::uint16_t get(std::int16_t ref, void* buf, std::uint16_t n) {
    if (!buf && n > 0) return transfer_failed;
    std::int64_t got = 0;
    if (plat::read(ref, buf, n, &got) != plat::noErr || got != n) return transfer_failed;
    return n;
}

std::uint16_t put(std::int16_t ref, const void* buf, std::uint16_t n) {
    if (!buf && n > 0) return transfer_failed;
    std::int64_t done = 0;
    if (plat::write(ref, buf, n, &done) != plat::noErr || done != n) return transfer_failed;
    return n;
}

std::int16_t blockread(std::int16_t ref, void* buf, std::int16_t n, std::int32_t b) {
    if (n < 0 || b < 0 || (!buf && n > 0)) return -1;
    std::int64_t got = 0;
    std::int16_t e =
        plat::read_at(ref, std::int64_t(b) * block_bytes, buf, std::int64_t(n) * block_bytes, &got);
    if ((e != plat::noErr && e != plat::eofErr) || got % block_bytes != 0) return -1;
    return static_cast<std::int16_t>(got / block_bytes);
}

std::int16_t blockwrite(std::int16_t ref, const void* buf, std::int16_t n, std::int32_t b) {
    if (n < 0 || b < 0 || (!buf && n > 0)) return -1;
    std::int64_t done = 0;
    if (plat::write_at(ref, std::int64_t(b) * block_bytes, buf, std::int64_t(n) * block_bytes, &done) !=
        plat::noErr)
        return -1;
    return n;
}

std::int16_t read_a_block(std::int16_t ref, std::int32_t b, void* buf) { return blockread(ref, buf, 1, b); }

std::int16_t write_a_block(std::int16_t ref, std::int32_t b, const void* buf) {
    return blockwrite(ref, buf, 1, b);
}

std::int16_t FSRef_blockread(std::int16_t fork, void* buf, std::int16_t n, std::int32_t b) {
    if (n <= 0 || b < 0 || !buf) return 0;
    std::int64_t got = 0;
    plat::read_at(fork, std::int64_t(b) * block_bytes, buf, std::int64_t(n) * block_bytes, &got);
    return static_cast<std::int16_t>(got / block_bytes);
}

std::int16_t FSRef_blockwrite(std::int16_t fork, const void* buf, std::int16_t n, std::int32_t b) {
    if (n <= 0 || b < 0 || !buf) return 0;
    std::int64_t done = 0;
    plat::write_at(fork, std::int64_t(b) * block_bytes, buf, std::int64_t(n) * block_bytes, &done);
    return static_cast<std::int16_t>(done / block_bytes);
}

void copy_file_to_file(std::int16_t src, std::int16_t dst, std::int32_t bsrc, std::int32_t bdst,
                       std::int32_t* blocks, std::int32_t* bytes, std::int32_t* extra) {
    std::int32_t read_blocks = 0, written_blocks = 0, tail = 0;
    std::int64_t eof = 0;
    if (bsrc >= 0 && bdst >= 0 && plat::get_eof(src, &eof) == plat::noErr) {
        // Counted before copying, so a copy onto a later part of the same file ends.
        const std::int64_t whole = std::clamp<std::int64_t>(eof / block_bytes - bsrc, 0, INT32_MAX);
        char buf[block_bytes];
        std::int64_t got = 0, done = 0;
        while (read_blocks < whole) {
            const std::int64_t from = (std::int64_t(bsrc) + read_blocks) * block_bytes;
            if (plat::read_at(src, from, buf, block_bytes, &got) != plat::noErr || got != block_bytes) break;
            const std::int64_t to = (std::int64_t(bdst) + read_blocks) * block_bytes;
            ++read_blocks;
            if (plat::write_at(dst, to, buf, block_bytes, &done) == plat::noErr) ++written_blocks;
        }
        plat::read_at(src, (std::int64_t(bsrc) + read_blocks) * block_bytes, buf, eof % block_bytes, &got);
        if (got > 0) {
            plat::write_at(dst, (std::int64_t(bdst) + read_blocks) * block_bytes, buf, got, &done);
            tail = static_cast<std::int32_t>(done);
        }
    }
    if (blocks) *blocks = read_blocks;
    if (bytes) *bytes = written_blocks;
    if (extra) *extra = tail;
}

// ---- Text lines ----

std::uint16_t FSRef_getln(std::int16_t fork, char* buf, std::int16_t max, std::int16_t keep) {
    return read_line(fork, buf, max, keep != 0, false);
}

std::uint16_t getln(std::int16_t ref, char* buf, std::int16_t max, std::int16_t keep) {
    return read_line(ref, buf, max, keep != 0, true);
}

std::uint16_t putln(std::int16_t ref, const char* s) {
    const std::size_t len = s ? std::strlen(s) : 0;
    if (len >= 65535) return transfer_failed;
    std::int64_t done = 0;
    if (len > 0 && (plat::write(ref, s, std::int64_t(len), &done) != plat::noErr ||
                    done != std::int64_t(len)))
        return transfer_failed;
    const char cr = CR;
    if (plat::write(ref, &cr, 1, &done) != plat::noErr || done != 1) return transfer_failed;
    return static_cast<std::uint16_t>(len + 1);
}

// ---- Files by volume, folder and name ----

std::int16_t CreateMyFile(std::int16_t vol, std::int32_t dir, const char* name,
                          std::int32_t nblocks, OSType creator, OSType type) {
    const std::filesystem::path p = path_in(vol, dir, name);
    if (p.empty() || nblocks < 0) return 0;
    const plat::FileRef fr{p};
    std::int16_t e = plat::create_file(fr);
    if (e != plat::noErr && e != plat::dupFNErr) return 0;
    if (e == plat::dupFNErr && (plat::is_folder(fr) || !size_data_fork(p, 0))) return 0;
    if (plat::set_type_creator(fr, type, creator) != plat::noErr ||
        !size_data_fork(p, std::int64_t(nblocks) * block_bytes)) {
        remove_path(p);
        return 0;
    }
    return 1;
}

std::int16_t OpenMyFileWithPermission(std::int16_t vol, std::int32_t dir, const char* name,
                                      std::int8_t perm, std::int16_t* ref) {
    if (plat::folder_path(vol, dir).empty()) {
        if (ref) *ref = 0;
        return plat::dirNFErr;
    }
    return open_path(path_in(vol, dir, name), perm, ref);
}

std::int16_t OpenMyFile(std::int16_t vol, std::int32_t dir, const char* name, std::int16_t* ref) {
    return OpenMyFileWithPermission(vol, dir, name, fsCurPerm, ref);
}

std::int16_t IsMyFileOpen(std::int16_t ref) { return ref > 0 ? 1 : 0; }

std::int16_t IsMyFilePresent(std::int16_t vol, std::int32_t dir, const char* name) {
    return present(path_in(vol, dir, name));
}

std::int16_t CloseMyFile(std::int16_t* ref) {
    if (!ref || *ref < 1) return 0;
    plat::flush(*ref);
    std::int16_t e = plat::close_file(*ref);
    *ref = -1;
    return e;
}

std::int16_t RemoveMyFile(std::int16_t vol, std::int32_t dir, const char* name) {
    return remove_path(path_in(vol, dir, name));
}

std::int16_t FindMyFile(void* /*dlg*/, std::int16_t* vol, std::int32_t* dir, const char* name,
                        int alert, int /*prompt*/) {
    std::filesystem::path p;
    if (vol && dir) p = path_in(*vol, *dir, name);
    return found_or_alert(p, alert);
}

void init_findTCFile() { searchindex = 1; }

std::int16_t FindTCMyFile(std::int16_t vol, std::int32_t dir, char* namebuf, OSType type,
                          OSType creator) {
    return find_type_creator(plat::folder_path(vol, dir), namebuf, type, creator);
}

std::int16_t FindSysFolder(std::int16_t* vol, std::int32_t* dir) {
    if (vol) *vol = 0;
    if (dir) *dir = 0;
    return 0;
}

// ---- Files by file reference ----

std::int16_t FSRef_CreateMyFile(const FSRef& parent, const char* name, std::int64_t size,
                                OSType creator, OSType type, FSRef* ref) {
    const std::filesystem::path p = path_in(parent.path, name);
    if (p.empty() || size < 0) return 0;
    const plat::FileRef fr{p};
    std::int16_t e = plat::create_file(fr);
    if ((e != plat::noErr && e != plat::dupFNErr) || plat::is_folder(fr)) return 0;
    if (plat::set_type_creator(fr, type, creator) != plat::noErr || !size_data_fork(p, size)) return 0;
    if (ref) *ref = fr;
    return 1;
}

std::int16_t FSRef_OpenMyFileWithPermission(const FSRef& ref, std::int8_t perm, std::int16_t* fork) {
    return open_path(ref.path, perm, fork);
}

std::int16_t FSRef_OpenMyFile(const FSRef& ref, std::int16_t* fork) {
    return open_path(ref.path, fsCurPerm, fork);
}

std::int16_t FSRef_IsMyFileOpen(std::int16_t fork) { return fork > 0 ? 1 : 0; }

std::int16_t FSRef_CloseMyFile(std::int16_t* fork) {
    if (!fork || *fork < 1) return 0;
    std::int16_t e = plat::close_file(*fork);
    *fork = -1;
    return e;
}

std::int16_t FSRef_IsMyFilePresent(const FSRef& parent, const char* name) {
    return present(path_in(parent.path, name));
}

std::int16_t FSRef_RemoveMyFile(const FSRef& parent, const char* name) {
    return remove_path(path_in(parent.path, name));
}

std::int16_t FSRef_FindMyFile(void* /*dlg*/, const FSRef& ref, int alert, int /*prompt*/) {
    return found_or_alert(ref.path, alert);
}

std::int16_t FSRef_FindTCMyFile(const FSRef& parent, char* namebuf, OSType type, OSType creator) {
    return find_type_creator(parent.path, namebuf, type, creator);
}

// ---- Memory ----

void (*memory_release_hook)() = nullptr;

void* getmemory(std::int32_t n) {
    void* p = n >= 0 ? plat::raw_alloc(static_cast<std::size_t>(n)) : nullptr;
    if (!p) out_of_memory();
    return p;
}

Handle hmalloc(std::int32_t n) {
    char* block = n >= 0 ? static_cast<char*>(plat::raw_alloc(static_cast<std::size_t>(n))) : nullptr;
    auto* master = block ? static_cast<Handle>(plat::raw_alloc(sizeof(char*))) : nullptr;
    if (!master) {
        plat::raw_free(block);
        out_of_memory();
        return nullptr;
    }
    *master = block;
    return master;
}

void xfree_raw(void** p) {
    if (!p || !*p) return;
    plat::raw_free(*p);
    *p = nullptr;
}

void hfree(Handle* h) {
    if (!h || !*h) return;
    plat::raw_free(**h);
    plat::raw_free(*h);
    *h = nullptr;
}

// ---- Bit sets ----

std::int16_t get_boolean(const std::uint16_t* set, int i) {
    if (!set || i < 0) return 0;
    return (set[i / 16] & wordmasks[i % 16]) ? 1 : 0;
}

void put_boolean(std::uint16_t* set, int i, int v) {
    if (!set || i < 0) return;
    if (v)
        set[i / 16] |= wordmasks[i % 16];
    else
        set[i / 16] &= static_cast<std::uint16_t>(~wordmasks[i % 16]);
}

}  // namespace drav
