// One instance at a time per data folder: an flock lock on a file inside it.
#pragma once

#include <cstdint>
#include <filesystem>

namespace plat {

// The lock on a data folder while this object holds it; released when it is
// destroyed or unlocked. A failed attempt holds nothing and keeps its error.
class FolderLock {
public:
    FolderLock() = default;
    FolderLock(FolderLock&& other) noexcept;
    FolderLock& operator=(FolderLock&& other) noexcept;
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;
    ~FolderLock();

    bool held() const { return fd_ >= 0; }
    // noErr while held; fBsyErr when another holder had the folder; else the
    // reason the folder or its lock file could not be made.
    std::int16_t error() const { return error_; }
    void unlock();

private:
    friend FolderLock lock_folder(const std::filesystem::path& folder);
    int fd_ = -1;
    std::int16_t error_ = 0;
};

// Locks `folder`, creating it when missing. Refused while another process,
// or another lock in this process, holds it.
[[nodiscard]] FolderLock lock_folder(const std::filesystem::path& folder);

}  // namespace plat
