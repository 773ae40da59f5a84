// Files and open forks: paths as file references, small 16-bit reference
// numbers for open files, positioned transfers and counters for tests.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

namespace plat {

// Error codes as the system's callers compare them.
enum FileError : std::int16_t {
    noErr = 0,
    dskFulErr = -34,
    ioErr = -36,
    bdNamErr = -37,
    fnOpnErr = -38,
    eofErr = -39,
    posErr = -40,
    tmfoErr = -42,
    fnfErr = -43,
    wPrErr = -44,
    fBsyErr = -47,
    dupFNErr = -48,
    paramErr = -50,
    rfNumErr = -51,
    permErr = -54,
    dirNFErr = -120,
};

struct FileRef {
    std::filesystem::path path;
    bool valid() const { return !path.empty(); }
};

enum class Perm { read, write, read_write };
enum class SeekFrom { start = 0, mark = 1, end = 2 };

// Creates an empty file; dupFNErr (and nothing changed) when it exists.
std::int16_t create_file(const FileRef& ref);
std::int16_t delete_file(const FileRef& ref);
bool file_exists(const FileRef& ref);
bool is_folder(const FileRef& ref);
// The name's extension with its dot, in ASCII lower case; "" when it has none.
std::string lower_extension(const FileRef& ref);

// Opens the data fork; *refnum gets a positive number on success.
std::int16_t open_file(const FileRef& ref, Perm perm, std::int16_t* refnum);
std::int16_t close_file(std::int16_t refnum);
bool is_open(std::int16_t refnum);
FileRef open_file_ref(std::int16_t refnum);

// Transfers at the file mark; *actual gets what was moved (eofErr when short).
std::int16_t read(std::int16_t refnum, void* buf, std::int64_t n, std::int64_t* actual);
std::int16_t write(std::int16_t refnum, const void* buf, std::int64_t n, std::int64_t* actual);
// Positioned transfers; the mark ends after the bytes moved.
std::int16_t read_at(std::int16_t refnum, std::int64_t offset, void* buf, std::int64_t n,
                     std::int64_t* actual);
std::int16_t write_at(std::int16_t refnum, std::int64_t offset, const void* buf, std::int64_t n,
                      std::int64_t* actual);

std::int16_t set_mark(std::int16_t refnum, SeekFrom from, std::int64_t offset);
std::int16_t get_mark(std::int16_t refnum, std::int64_t* mark);
std::int16_t get_eof(std::int16_t refnum, std::int64_t* eof);
// Sets the end of file; space is allocated so later writes inside it succeed.
std::int16_t set_eof(std::int16_t refnum, std::int64_t eof);
std::int16_t flush(std::int16_t refnum);
// Puts `from` in place of `to` in one step (both in one folder); an existing
// `to` is replaced, never left half-written.
std::int16_t rename_file(const FileRef& from, const FileRef& to);
// Makes the folder's entries (a rename just done) durable.
std::int16_t sync_folder(const std::filesystem::path& folder);
// For tests of a full disk: once `bytes` more bytes were written to files
// opened after the call, their writes stop short with dskFulErr; a
// negative value lifts it.
void fail_writes_after(std::int64_t bytes);

// Serves reads of the open file's first `limit` bytes from a copy in memory,
// loaded now and kept up to date by every write and resize through this
// refnum that reached the file (the file must not change otherwise while it
// is open). Writes still go to the file; the counters count every transfer.
std::int16_t keep_in_memory(std::int16_t refnum, std::int64_t limit);

// Small stable numbers for folders, so code that keeps a volume and a
// directory id works unchanged. Volume 1 is the only volume.
constexpr std::int16_t the_volume = 1;
std::int32_t folder_id(const std::filesystem::path& folder);
// Empty path when the id is unknown.
std::filesystem::path folder_path(std::int16_t vol, std::int32_t dir);

struct IoStats {
    std::uint64_t reads = 0;
    std::uint64_t writes = 0;
    std::uint64_t bytes_read = 0;
    std::uint64_t bytes_written = 0;
};
const IoStats& io_stats();
void reset_io_stats();

// Per-user folders (never beside the executable).
std::filesystem::path user_data_dir();    // $XDG_DATA_HOME/Dravelin
std::filesystem::path user_config_dir();  // $XDG_CONFIG_HOME/Dravelin

}  // namespace plat
