// The shipped data files reach the program's folder at start: all of them
// the first time, afterwards only the missing ones, and never half a file.
#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <set>
#include <string>
#include <sys/resource.h>

#include "platform/core/files.h"
#include "platform/core/forks.h"
#include "shell/bundle_data.h"
#include "shell/startup.h"
#include "tests/support/harness.h"

using namespace drav;
namespace fs = std::filesystem;

namespace {

const char* const kDataFiles[] = {
    "Archlib1", "Archlib2", "Block",   "DGreek",   "Duplex", "English",       "Geolib",
    "Gothic",   "IDuplex",  "ITriplex", "Math",    "Round",  "SGreek",        "Sign",
    "Simplex",  "Slant",    "Stick",   "Triplex", "DRAVfonts.txt", "DRAVHatch.txt", "DRAVstyles.txt",
};

std::string slurp(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// Compared as a whole, so a failure does not print 100 kB.
bool same_content(const fs::path& a, const fs::path& b) { return slurp(a) == slurp(b); }

void spit(const fs::path& p, const std::string& s) { std::ofstream(p, std::ios::binary) << s; }

std::set<std::string> entries(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& e : fs::directory_iterator(folder)) names.insert(e.path().filename().string());
    return names;
}

class BundleData : public testing::Test {
protected:
    void SetUp() override {
        bundle_ = drav::test::scratch_dir() / "bundle";
        folder_ = plat::user_data_dir();
        fs::remove_all(bundle_);
        fs::remove_all(folder_);
        fs::create_directories(bundle_);
        // One file spans several copy buffers.
        for (const char* name : kDataFiles)
            spit(bundle_ / name, std::string(name) + "\n" +
                                     std::string(name == std::string("Geolib") ? 100000 : 10, 'x'));
        setenv("DRAVELIN_DATA", bundle_.c_str(), 1);
    }
    void TearDown() override { unsetenv("DRAVELIN_DATA"); }

    fs::path bundle_, folder_;
};

}  // namespace

TEST_F(BundleData, FirstStartCopiesEveryFileWhole) {
    InitBundleInfo();
    EXPECT_EQ(UserAppSupportFSRef.path, folder_);
    EXPECT_EQ(entries(folder_), std::set<std::string>(std::begin(kDataFiles), std::end(kDataFiles)));
    for (const char* name : kDataFiles) EXPECT_TRUE(same_content(folder_ / name, bundle_ / name)) << name;
}

TEST_F(BundleData, LaterStartRestoresOnlyWhatIsMissing) {
    InitBundleInfo();
    for (const char* name : kDataFiles) spit(folder_ / name, "edited by the user");
    fs::remove(folder_ / "Geolib");
    InitBundleInfo();
    for (const char* name : kDataFiles) {
        if (name == std::string("Geolib"))
            EXPECT_TRUE(same_content(folder_ / name, bundle_ / name));
        else
            EXPECT_EQ(slurp(folder_ / name), "edited by the user") << name;
    }
}

TEST_F(BundleData, FileMissingFromTheBundleIsSkipped) {
    fs::remove(bundle_ / "Math");
    InitBundleInfo();
    EXPECT_FALSE(fs::exists(folder_ / "Math"));
    EXPECT_EQ(entries(folder_).size(), std::size(kDataFiles) - 1);
    EXPECT_FALSE(CopyFile(FSRef{bundle_}, "Math", FSRef{folder_}, "Math"));
    EXPECT_TRUE(CopyFile(FSRef{bundle_}, "Sign", FSRef{folder_}, "Sign"));
}

TEST_F(BundleData, TypeAndCreatorTravelWithTheFile) {
    ASSERT_EQ(plat::set_type_creator(plat::FileRef{bundle_ / "Archlib1"}, four_cc("LIBR"), four_cc("DRAV")),
              plat::noErr);
    InitBundleInfo();
    std::uint32_t type = 0, creator = 0;
    EXPECT_EQ(plat::get_type_creator(plat::FileRef{folder_ / "Archlib1"}, &type, &creator), plat::noErr);
    EXPECT_EQ(type, four_cc("LIBR"));
    EXPECT_EQ(creator, four_cc("DRAV"));
}

TEST_F(BundleData, FailedCopyLeavesNoFileAndTheNextStartMendsIt) {
    struct Case {
        const char* what;
        std::function<void()> break_it, mend_it;
        std::set<std::string> left;  // in the folder after the failure
    };
    // Permissions do not stop root, so the failures are made another way.
    static rlimit saved;
    const Case cases[] = {
        {"destination full",
         [] {
             std::signal(SIGXFSZ, SIG_IGN);
             getrlimit(RLIMIT_FSIZE, &saved);
             rlimit small = saved;
             small.rlim_cur = 4096;
             setrlimit(RLIMIT_FSIZE, &small);
         },
         [] {
             setrlimit(RLIMIT_FSIZE, &saved);
             std::signal(SIGXFSZ, SIG_DFL);
         },
         {}},
        {"name taken by a folder",
         [this] { fs::create_directories(folder_ / "Geolib" / "inside"); },
         [this] { fs::remove_all(folder_ / "Geolib"); },
         {"Geolib"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove_all(folder_);
        fs::create_directories(folder_);
        c.break_it();
        const bool answered = CopyFile(FSRef{bundle_}, "Geolib", FSRef{folder_}, "Geolib");
        const std::set<std::string> left = entries(folder_);
        c.mend_it();
        EXPECT_TRUE(answered);
        EXPECT_EQ(left, c.left);

        InitBundleInfo();
        EXPECT_TRUE(same_content(folder_ / "Geolib", bundle_ / "Geolib"));
        EXPECT_EQ(entries(folder_).size(), std::size(kDataFiles));
    }
}

TEST_F(BundleData, FolderThatCannotBeMadeStaysUnset) {
    const std::string saved = std::getenv("XDG_DATA_HOME");
    const fs::path blocker = drav::test::scratch_dir() / "not-a-folder";
    spit(blocker, "a file where the folder should go");
    setenv("XDG_DATA_HOME", blocker.c_str(), 1);
    UserAppSupportFSRef = FSRef{bundle_};
    InitBundleInfo();
    setenv("XDG_DATA_HOME", saved.c_str(), 1);
    EXPECT_FALSE(UserAppSupportFSRef.valid());
}
