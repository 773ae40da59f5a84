// One instance per data folder: a second lock is refused while the first is
// held, whether it comes from this process or another one.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/core/files.h"
#include "platform/core/lock.h"
#include "tests/support/harness.h"

namespace fs = std::filesystem;

namespace {

fs::path fresh_folder(const char* name) {
    fs::path p = drav::test::scratch_dir() / "locks" / name;
    fs::remove_all(p);
    return p;
}

// Whether another process could lock the folder's lock file now. The child
// only makes system calls, which is what is safe after fork.
bool other_process_can_lock(const fs::path& folder) {
    fs::path file;
    for (const auto& e : fs::directory_iterator(folder)) file = e.path();
    const std::string path = file.string();
    pid_t pid = fork();
    if (pid == 0) {
        int fd = ::open(path.c_str(), O_RDWR);
        _exit(fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) == 0 ? 0 : 1);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace

TEST(FolderLock, SecondLockIsRefusedUntilTheFirstIsReleased) {
    struct Case {
        const char* how;
        std::function<void(plat::FolderLock&)> release;
    };
    const Case cases[] = {
        {"unlock", [](plat::FolderLock& l) { l.unlock(); }},
        {"destruction", [](plat::FolderLock& l) { plat::FolderLock gone = std::move(l); }},
        {"assignment", [](plat::FolderLock& l) { l = plat::FolderLock{}; }},
    };
    const fs::path folder = fresh_folder("data");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.how);
        plat::FolderLock first = plat::lock_folder(folder);
        ASSERT_TRUE(first.held());
        EXPECT_EQ(first.error(), plat::noErr);

        plat::FolderLock second = plat::lock_folder(folder);
        EXPECT_FALSE(second.held());
        EXPECT_EQ(second.error(), plat::fBsyErr);
        EXPECT_FALSE(other_process_can_lock(folder));

        c.release(first);
        EXPECT_TRUE(other_process_can_lock(folder));
        plat::FolderLock third = plat::lock_folder(folder);
        EXPECT_TRUE(third.held());
    }
}

TEST(FolderLock, MovedLockKeepsHolding) {
    const fs::path folder = fresh_folder("moved");
    plat::FolderLock first = plat::lock_folder(folder);
    plat::FolderLock moved = std::move(first);
    EXPECT_TRUE(moved.held());
    EXPECT_FALSE(plat::lock_folder(folder).held());
}

TEST(FolderLock, MissingFolderIsCreatedAndOthersAreIndependent) {
    const fs::path a = fresh_folder("a") / "Dravelin";
    const fs::path b = fresh_folder("b") / "Dravelin";
    plat::FolderLock la = plat::lock_folder(a);
    plat::FolderLock lb = plat::lock_folder(b);
    EXPECT_TRUE(fs::is_directory(a));
    EXPECT_TRUE(la.held());
    EXPECT_TRUE(lb.held());
}

TEST(FolderLock, FolderThatCannotBeMadeIsAnError) {
    const fs::path parent = fresh_folder("file");
    fs::create_directories(parent.parent_path());
    std::ofstream(parent) << "a file where the folder should go";
    plat::FolderLock l = plat::lock_folder(parent / "Dravelin");
    EXPECT_FALSE(l.held());
    EXPECT_NE(l.error(), plat::noErr);
    EXPECT_NE(l.error(), plat::fBsyErr);
}
