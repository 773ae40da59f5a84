#include "files/picture_export.h"

#include <string>

#include "base/messages.h"
#include "display/picture_target.h"
#include "files/drawing_writer.h"
#include "platform/core/forks.h"
#include "platform/core/picture.h"
#include "platform/core/text.h"
#include "store/selection_state.h"
#include "store/strings.h"

namespace drav {

namespace {

constexpr int err_picture_not_saved = 171;  // table 406
constexpr std::uint32_t pict_type = 0x50494354, pict_creator = 0x4D445257;  // 'PICT', 'MDRW'

}  // namespace

std::vector<std::uint8_t> pict_file_bytes(int group) {
    const plat::Picture picture = record_picture([group] {
        plat::Port* port = plat::current_port();
        port->comment(pic_drawing_begin);
        pict_objects([group](std::int16_t n) { return !group || get_in_group(n) != 0; });
        port->comment(pic_drawing_end);
    });
    std::vector<std::uint8_t> bytes(plat::pict_file_header_bytes, 0);
    const std::vector<std::uint8_t> pict = plat::picture_bytes(picture);
    bytes.insert(bytes.end(), pict.begin(), pict.end());
    return bytes;
}

int save_pict(const FSRef& folder, const char* name, int group) {
    const plat::FileRef target{folder.path / plat::macroman_to_utf8(name)};
    const plat::FileRef temp{folder.path / ("." + target.path.filename().string() + ".saving")};
    const std::vector<std::uint8_t> bytes = pict_file_bytes(group);
    std::int16_t err = plat::is_folder(plat::FileRef{folder.path}) ? plat::noErr : plat::dirNFErr;
    if (err == plat::noErr) err = write_file_flushed(temp, std::string(bytes.begin(), bytes.end()));
    if (err == plat::noErr) err = plat::set_type_creator(temp, pict_type, pict_creator);
    // The companion first: a stop between the two renames leaves the old
    // picture under the new type, never a new picture without its type.
    if (err == plat::noErr) err = plat::rename_file(plat::companion_ref(temp), plat::companion_ref(target));
    if (err == plat::noErr) err = plat::rename_file(temp, target);
    if (err == plat::noErr) err = plat::sync_folder(folder.path);
    plat::delete_file(temp);
    plat::delete_file(plat::companion_ref(temp));
    if (err == plat::noErr) return 1;
    show_insert_error(err_picture_not_saved, 0, save_reason(err).c_str(), "", "", "");
    return 0;
}

}  // namespace drav
