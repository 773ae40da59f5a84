// The data files the program ships: copied into the program's own folder at
// every start when missing there, so the user may edit or replace the copies.
#pragma once

#include <cstdint>

#include "store/files.h"

namespace drav {

// Makes the program's folder (into UserAppSupportFSRef) and copies each
// shipped data file it lacks. The folder is left unset when it cannot be made.
void InitBundleInfo();

// Copies sname in source to tname in target when target lacks it. false only
// when the source file does not exist; a copy that fails leaves no file.
bool CopyFile(const FSRef& source, const char* sname, const FSRef& target, const char* tname);

// The folder of the shipped data files; fnfErr when it is not there.
std::int16_t GetMyBundleFSRef(FSRef* ref);

}  // namespace drav
