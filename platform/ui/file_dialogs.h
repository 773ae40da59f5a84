// Open and save dialogs: the toolkit's own (non-native) file dialog with an
// option area taken from a nib window placed beneath its file list. Like
// alerts they go through one replaceable answerer, so tests answer them
// without a dialog ever waiting for a person.
#pragma once

#include <filesystem>
#include <functional>
#include <string>

namespace plat {

class Dialog;

struct FileDialogRequest {
    bool save = false;
    bool choose_folder = false;     // a folder is chosen, not a file
    std::string title;              // UTF-8
    std::filesystem::path folder;   // where the dialog starts; empty: the current folder
    std::string name;               // UTF-8, the proposed name of a save
    // Files the open dialog offers (folders are always offered); empty: all.
    std::function<bool(const std::filesystem::path&)> filter;
    // The option area: a nib window whose controls the caller set up and
    // reads back after an accepted dialog; nullptr: none.
    Dialog* options = nullptr;
    // A save answer the caller refuses (the dialog stays up); empty: any.
    std::function<bool(const std::filesystem::path&)> accept;
};

struct FileDialogReply {
    bool accepted = false;
    std::filesystem::path file;  // the chosen file (open) or folder and name (save)
};

class FileDialogAnswerer {
public:
    virtual ~FileDialogAnswerer() = default;
    virtual FileDialogReply answer(const FileDialogRequest& request) = 0;
};

FileDialogReply run_file_dialog(const FileDialogRequest& request);
// nullptr restores the dialog for a person.
void set_file_dialog_answerer(FileDialogAnswerer* a);
FileDialogAnswerer* current_file_dialog_answerer();

}  // namespace plat
