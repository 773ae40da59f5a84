#include "files/file_dialogs.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "base/messages.h"
#include "base/tool_options.h"
#include "dialogs/dialog_helpers.h"
#include "dialogs/edit_fields.h"
#include "files/drawing_reader.h"
#include "platform/core/forks.h"
#include "platform/core/text.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/file_dialogs.h"
#include "store/current_drawing.h"
#include "store/object_walk.h"
#include "store/record_store.h"
#include "store/records.h"
#include "store/workfile.h"
#include "store/selection_state.h"
#include "store/strings.h"

namespace drav {

std::uint16_t openfile_format = format_native;
std::uint16_t save_openfile_format = format_native;
std::uint16_t savefile_format = format_native;
std::uint16_t pictsave = 0;
char theprompt[256] = {};

namespace {

constexpr int alert_untitled_name = 31;
constexpr int str_untitled = 1, str_open_title = 46, str_merge_title = 47, str_save_title = 48,
              str_native_ext = 49, str_pc_ext = 50;
constexpr std::uint32_t sig_check = 0x6368636B;  // 'chck'
constexpr std::int32_t ctl_group = 101, ctl_plot = 102, ctl_choice = 101, ctl_format = 102;

std::string local_utf8(int index) {
    char text[256];
    GetMyLocalCString(text, tbl_names, index);
    return plat::macroman_to_utf8(text);
}

// The nib window of an option area, or none (then the options keep their
// starting values).
DialogPtr option_area(const char* name) {
    std::string error;
    DialogPtr w = plat::new_nib_window("Menu", name, &error);
    if (!w) std::printf("%s: %s\n", name, error.c_str());
    return w;
}

// The file's folder, volume, directory and Mac Roman name (at most `size` - 1 bytes).
bool file_place(const std::filesystem::path& file, std::int16_t* vref, std::int32_t* dir, char* name, int size) {
    std::string roman;
    if (!plat::utf8_to_macroman(file.filename().string(), roman) || roman.empty() ||
        static_cast<int>(roman.size()) >= size)
        return false;
    std::memcpy(name, roman.c_str(), roman.size() + 1);
    *vref = plat::the_volume;
    *dir = plat::folder_id(std::filesystem::absolute(file).parent_path());
    return true;
}

// Live objects in the selection group, counted afresh.
int group_members() {
    int count = 0;
    for (int n = first_object_slot; n < number_of_objects; ++n) {
        if (!get_in_group(n)) continue;
        get_info(static_cast<std::int16_t>(n));
        if (is_live_object(info)) ++count;
    }
    return count;
}

bool is_untitled(const std::filesystem::path& file) {
    return file.filename().string() == local_utf8(str_untitled) || file.stem().string() == local_utf8(str_untitled);
}

}  // namespace

bool NavOpenFilterProc(const FSRef& ref) {
    if (plat::is_folder(ref)) return true;
    if (!plat::file_exists(ref)) return false;
    std::uint32_t type = 0, creator = 0;
    plat::get_type_creator(ref, &type, &creator);
    if (type == four_cc("2D  ") && creator == four_cc("DRAV")) return true;
    // A picture file opens as drawing objects: without this it could be
    // imported only from the command line.
    if (drawing_file_format(ref) == format_picture) return true;
    // A drawing whose companion was lost on the way is known by its name.
    const std::string ext = plat::lower_extension(ref);
    if (type == 0 && ext == local_utf8(str_native_ext)) return true;
    return FSRefIsDravPcFile(ref) != 0;
}

int opendrawing_dialog(FSRef* ref, std::int16_t* vref, std::int32_t* dir, char* name, int* format, int* merge,
                       int* withplot) {
    dialog_cursor();
    save_openfile_format = openfile_format;
    if (*format != 0) openfile_format = static_cast<std::uint16_t>(*format);
    const bool merging = *merge > 0;
    bool group = *merge == 2, plot = *withplot != 0;

    plat::FileDialogRequest request;
    request.title = local_utf8(merging ? str_merge_title : str_open_title);
    if (current_drawing.ref.valid()) request.folder = current_drawing.ref.path.parent_path();
    request.filter = [](const std::filesystem::path& p) { return NavOpenFilterProc(FSRef{p}); };
    DialogPtr area = merging ? option_area("CustomizeMerge") : nullptr;
    request.options = area;
    const plat::FileDialogReply reply = plat::run_file_dialog(request);
    int result = 0;
    if (reply.accepted && file_place(reply.file, vref, dir, name, file_name_bytes)) {
        ref->path = reply.file;
        // The one rule for a file's byte order, as for a file named on the command line.
        *format = drawing_file_format(*ref);
        openfile_format = static_cast<std::uint16_t>(*format);
        if (merging) {
            if (area) {
                group = plat::item_value(GrabCRef(area, sig_check, ctl_group)) == 1;
                plot = plat::item_value(GrabCRef(area, sig_check, ctl_plot)) == 1;
            }
            *merge = group ? 2 : 1;
            *withplot = plot ? 1 : 0;
        }
        result = 1;
    } else {
        openfile_format = save_openfile_format;
    }
    if (area) plat::dispose_dialog(area);
    return result;
}

int savedrawing_dialog(FSRef* folder, std::int16_t* vref, std::int32_t* dir, char* name, int* choice, int* format) {
    dialog_cursor();
    int chosen_format = *format != 0 ? *format : savefile_format;
    int chosen = 1;
    pictsave = static_cast<std::uint16_t>(objopts ? objopts->save_preview : 0);

    plat::FileDialogRequest request;
    request.save = true;
    request.title = local_utf8(str_save_title);
    if (current_drawing.ref.valid()) request.folder = current_drawing.ref.path.parent_path();
    const std::string proposed = plat::macroman_to_utf8(name);
    if (proposed != local_utf8(str_untitled)) request.name = proposed;
    request.accept = [](const std::filesystem::path& p) {
        if (!is_untitled(p)) return true;
        pr_alert(alert_untitled_name, 0);
        return false;
    };
    DialogPtr area = option_area("CustomizeSave");
    checkpht();
    const bool no_group = group_members() == 0;
    if (area && no_group) plat::set_item_hilite(GrabCRef(area, 0, ctl_choice), 255);
    request.options = area;
    const plat::FileDialogReply reply = plat::run_file_dialog(request);
    int result = 0;
    if (reply.accepted && !is_untitled(reply.file)) {
        if (area) {
            const int v = plat::item_value(GrabCRef(area, 0, ctl_choice));
            if (v == 1 || v == 2) chosen = v;
            chosen_format = plat::item_value(GrabCRef(area, 0, ctl_format)) == 2 ? format_pc : format_native;
        }
        if (chosen == 2 && no_group) chosen = 1;
        std::filesystem::path file = reply.file;
        // A name without an extension gets the chosen format's.
        if (!file.has_extension()) file += local_utf8(chosen_format == format_pc ? str_pc_ext : str_native_ext);
        if (file_place(file, vref, dir, name, file_name_bytes)) {
            folder->path = std::filesystem::absolute(file).parent_path();
            *choice = chosen;
            *format = chosen_format;
            savefile_format = static_cast<std::uint16_t>(chosen_format);
            if (objopts) objopts->save_preview = static_cast<std::int16_t>(pictsave);
            result = 1;
        }
    }
    if (area) plat::dispose_dialog(area);
    return result;
}

int openanyfile_dialog(OSType, std::int16_t* vref, std::int32_t* dir, char* name, const char* prompt) {
    dialog_cursor();
    strnncpy(theprompt, prompt ? prompt : "", static_cast<int>(sizeof theprompt) - 1);
    plat::FileDialogRequest request;
    request.title = plat::macroman_to_utf8(theprompt);
    const plat::FileDialogReply reply = plat::run_file_dialog(request);
    return reply.accepted && file_place(reply.file, vref, dir, name, file_name_bytes) ? 1 : 0;
}

}  // namespace drav
