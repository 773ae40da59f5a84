#include "shell/bundle_data.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <string>
#include <system_error>

#include "platform/core/forks.h"
#include "platform/core/process.h"
#include "platform/core/text.h"
#include "shell/startup.h"

namespace drav {

namespace {

const char* const bundle_files[] = {
    "Archlib1", "Archlib2", "Block",   "DGreek",  "Duplex",        "English",
    "Geolib",   "Gothic",   "IDuplex", "ITriplex", "Math",         "Round",
    "SGreek",   "Sign",     "Simplex", "Slant",   "Stick",         "Triplex",
    "DRAVfonts.txt", "DRAVHatch.txt", "DRAVstyles.txt",
};

// Names are Mac Roman; a '/' in one is shown as ':' on the desktop.
plat::FileRef file_in(const FSRef& folder, const std::string& name) {
    std::string u = plat::macroman_to_utf8(name);
    std::replace(u.begin(), u.end(), '/', ':');
    return plat::FileRef{folder.path / u};
}

// Streams the data fork of `from` into the new file `to`, flushed to disk.
bool copy_data(const plat::FileRef& from, const plat::FileRef& to) {
    std::int16_t in = 0, out = 0;
    if (FSRef_OpenMyFileWithPermission(from, fsRdPerm, &in) != plat::noErr) return false;
    bool ok = plat::create_file(to) == plat::noErr &&
              FSRef_OpenMyFileWithPermission(to, fsWrPerm, &out) == plat::noErr;
    std::array<char, 32768> buf;
    while (ok) {
        std::int64_t got = 0, put = 0;
        const std::int16_t e = plat::read(in, buf.data(), std::int64_t(buf.size()), &got);
        if (e != plat::noErr && e != plat::eofErr) ok = false;
        else if (got > 0 && (plat::write(out, buf.data(), got, &put) != plat::noErr || put != got))
            ok = false;
        if (e == plat::eofErr) break;
    }
    // A copy that reaches the disk only after the rename could still show
    // up empty after a crash.
    if (ok) ok = plat::flush(out) == plat::noErr;
    FSRef_CloseMyFile(&in);
    if (out > 0 && FSRef_CloseMyFile(&out) != plat::noErr) ok = false;
    return ok;
}

// The whole file under a temporary name first, so a failure halfway never
// leaves a short file that would pass for the real one at the next start.
void copy_missing(const FSRef& source, const char* sname, const FSRef& target, const char* tname) {
    const plat::FileRef from = file_in(source, sname);
    const plat::FileRef to = file_in(target, tname);
    const std::string temp_name = std::string(".") + tname + ".copying";
    const plat::FileRef temp = file_in(target, temp_name);
    // Left over from a copy that was cut short.
    plat::delete_file(temp);

    plat::AppleDouble companion;
    const bool has_companion = plat::read_companion(from, &companion) == plat::noErr;
    bool ok = copy_data(from, temp);
    // The companion goes first: once the data file has its name, the file is whole.
    if (ok && has_companion) ok = plat::write_companion(to, companion) == plat::noErr;
    std::error_code ec;
    if (ok) std::filesystem::rename(temp.path, to.path, ec);
    if (!ok || ec) {
        plat::delete_file(temp);
        if (has_companion) plat::remove_companion(to);
    }
}

}  // namespace

bool CopyFile(const FSRef& source, const char* sname, const FSRef& target, const char* tname) {
    if (!sname || !tname || !FSRef_IsMyFilePresent(source, sname)) return false;
    if (target.valid() && !FSRef_IsMyFilePresent(target, tname)) copy_missing(source, sname, target, tname);
    return true;
}

std::int16_t GetMyBundleFSRef(FSRef* ref) {
    *ref = FSRef{plat::bundle_dir()};
    return plat::is_folder(*ref) ? plat::noErr : plat::fnfErr;
}

void InitBundleInfo() {
    const std::filesystem::path folder = plat::user_data_dir();
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (ec || !plat::is_folder(plat::FileRef{folder})) {
        UserAppSupportFSRef = FSRef{};
        return;
    }
    UserAppSupportFSRef = FSRef{folder};
    FSRef bundle;
    if (GetMyBundleFSRef(&bundle) != plat::noErr) return;
    for (const char* name : bundle_files) CopyFile(bundle, name, UserAppSupportFSRef, name);
}

}  // namespace drav
