// Files, text lines, memory and bit sets: the thin layer over the platform
// that the system uses for its scratch files, data files and memory.
#pragma once

#include <cstdint>

#include "platform/core/files.h"

namespace drav {

using OSType = std::uint32_t;
constexpr OSType four_cc(const char (&s)[5]) {
    return OSType(std::uint8_t(s[0])) << 24 | OSType(std::uint8_t(s[1])) << 16 |
           OSType(std::uint8_t(s[2])) << 8 | OSType(std::uint8_t(s[3]));
}

// Open permissions.
constexpr std::int8_t fsCurPerm = 0, fsRdPerm = 1, fsWrPerm = 2, fsRdWrPerm = 3, fsRdWrShPerm = 4;

constexpr int block_bytes = 512;

// ---- Positioning and transfer on open reference numbers ----
std::int32_t getputfpos(std::int16_t ref, std::int32_t pos, int mode);
std::int32_t filerecs(std::int16_t ref, std::int32_t size);
std::int32_t fileposition(std::int16_t ref, std::int32_t size);
std::int32_t rseek(std::int16_t ref, std::int32_t size, std::int32_t n);
std::uint16_t get(std::int16_t ref, void* buf, std::uint16_t n);
std::uint16_t put(std::int16_t ref, const void* buf, std::uint16_t n);
std::int16_t blockread(std::int16_t ref, void* buf, std::int16_t n, std::int32_t b);
std::int16_t blockwrite(std::int16_t ref, const void* buf, std::int16_t n, std::int32_t b);
std::int16_t read_a_block(std::int16_t ref, std::int32_t b, void* buf);
std::int16_t write_a_block(std::int16_t ref, std::int32_t b, const void* buf);
// Whole blocks moved at block b of an open fork; the caller compares with n.
std::int16_t FSRef_blockread(std::int16_t fork, void* buf, std::int16_t n, std::int32_t b);
std::int16_t FSRef_blockwrite(std::int16_t fork, const void* buf, std::int16_t n, std::int32_t b);
// *blocks: whole blocks read, *bytes: whole blocks written, *extra: bytes of
// the last partial block copied.
void copy_file_to_file(std::int16_t src, std::int16_t dst, std::int32_t bsrc, std::int32_t bdst,
                       std::int32_t* blocks, std::int32_t* bytes, std::int32_t* extra);

// ---- Text lines (CR, LF or CR LF) ----
// buf holds max + 1 bytes. A line longer than max goes on in the next call.
std::uint16_t FSRef_getln(std::int16_t fork, char* buf, std::int16_t max, std::int16_t keep);
std::uint16_t getln(std::int16_t ref, char* buf, std::int16_t max, std::int16_t keep);
std::uint16_t putln(std::int16_t ref, const char* s);

// ---- Files by volume, folder and name ----
std::int16_t CreateMyFile(std::int16_t vol, std::int32_t dir, const char* name,
                          std::int32_t nblocks, OSType creator, OSType type);
std::int16_t OpenMyFileWithPermission(std::int16_t vol, std::int32_t dir, const char* name,
                                      std::int8_t perm, std::int16_t* ref);
std::int16_t OpenMyFile(std::int16_t vol, std::int32_t dir, const char* name, std::int16_t* ref);
std::int16_t IsMyFileOpen(std::int16_t ref);
std::int16_t IsMyFilePresent(std::int16_t vol, std::int32_t dir, const char* name);
std::int16_t CloseMyFile(std::int16_t* ref);
std::int16_t RemoveMyFile(std::int16_t vol, std::int32_t dir, const char* name);
std::int16_t FindMyFile(void* dlg, std::int16_t* vol, std::int32_t* dir, const char* name,
                        int alert, int prompt);
extern std::uint32_t searchindex;
// The name buffer of the FindTC calls holds this many bytes.
constexpr int file_name_bytes = 256;
void init_findTCFile();
std::int16_t FindTCMyFile(std::int16_t vol, std::int32_t dir, char* namebuf, OSType type,
                          OSType creator);
std::int16_t FindSysFolder(std::int16_t* vol, std::int32_t* dir);

// ---- Files by file reference ----
using FSRef = plat::FileRef;
std::int16_t FSRef_CreateMyFile(const FSRef& parent, const char* name, std::int64_t size,
                                OSType creator, OSType type, FSRef* ref);
std::int16_t FSRef_OpenMyFileWithPermission(const FSRef& ref, std::int8_t perm, std::int16_t* fork);
std::int16_t FSRef_OpenMyFile(const FSRef& ref, std::int16_t* fork);
std::int16_t FSRef_IsMyFileOpen(std::int16_t fork);
std::int16_t FSRef_CloseMyFile(std::int16_t* fork);
std::int16_t FSRef_IsMyFilePresent(const FSRef& parent, const char* name);
std::int16_t FSRef_RemoveMyFile(const FSRef& parent, const char* name);
std::int16_t FSRef_FindMyFile(void* dlg, const FSRef& ref, int alert, int prompt);
std::int16_t FSRef_FindTCMyFile(const FSRef& parent, char* namebuf, OSType type, OSType creator);

// ---- Memory ----
using Handle = char**;
// Zeroed memory; on failure: `quit`, the display list freed, error 104, null.
void* getmemory(std::int32_t n);
// Called when an allocation fails, before the message: the display list
// gives its blocks back. Installed by the display at start.
extern void (*memory_release_hook)();
Handle hmalloc(std::int32_t n);
void xfree_raw(void** p);
template <class T>
inline void xfree(T** p) {
    void* v = *p;
    xfree_raw(&v);
    *p = nullptr;
}
void hfree(Handle* h);

// ---- Bit sets of 16-bit words ----
extern const std::uint16_t wordmasks[16];
std::int16_t get_boolean(const std::uint16_t* set, int i);
void put_boolean(std::uint16_t* set, int i, int v);

}  // namespace drav
