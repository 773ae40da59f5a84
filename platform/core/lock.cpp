#include "platform/core/lock.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <system_error>
#include <unistd.h>
#include <utility>

#include "platform/core/files.h"

namespace plat {

namespace {

const char* const lock_file_name = ".dravelin.lock";

std::int16_t lock_error(int e) {
    switch (e) {
    case EWOULDBLOCK: return fBsyErr;
    case ENOENT:
    case ENOTDIR:
    case EEXIST: return dirNFErr;
    case EACCES:
    case EPERM: return permErr;
    case EROFS: return wPrErr;
    case ENOSPC: return dskFulErr;
    case EMFILE:
    case ENFILE: return tmfoErr;
    case ENAMETOOLONG: return bdNamErr;
    default: return ioErr;
    }
}

}  // namespace

FolderLock::FolderLock(FolderLock&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), error_(other.error_) {}

FolderLock& FolderLock::operator=(FolderLock&& other) noexcept {
    if (this != &other) {
        unlock();
        fd_ = std::exchange(other.fd_, -1);
        error_ = other.error_;
    }
    return *this;
}

FolderLock::~FolderLock() { unlock(); }

void FolderLock::unlock() {
    // The file stays: removing it would let a newcomer lock a fresh file
    // while a waiter still holds the old one.
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
}

FolderLock lock_folder(const std::filesystem::path& folder) {
    FolderLock lock;
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (ec) {
        lock.error_ = lock_error(ec.value());
        return lock;
    }
    // Each open is its own open file description, so a second lock taken in
    // this same process conflicts with the first just as another process would.
    int fd = ::open((folder / lock_file_name).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) {
        lock.error_ = lock_error(errno);
        return lock;
    }
    int r;
    do r = ::flock(fd, LOCK_EX | LOCK_NB);
    while (r != 0 && errno == EINTR);
    if (r != 0) {
        lock.error_ = lock_error(errno);
        ::close(fd);
        return lock;
    }
    lock.fd_ = fd;
    lock.error_ = noErr;
    return lock;
}

}  // namespace plat
