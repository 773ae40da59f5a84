// The frame the tool-setting dialogs share: made from their resource, their
// fields filled and checked when the user leaves them (alert 33 or 34 and the
// text selected again keep the user in a bad field), Cancel at once, OK once
// every field has passed.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <vector>

#include "dialogs/dialog_helpers.h"
#include "platform/core/raster.h"
#include "platform/ui/events.h"

namespace drav {

// How a field's value is written and read: an integer, a plain number, a
// length in drawing units, an angle in degrees, or a length on paper.
enum class FieldKind { integer, plain, length, angle, paper };

struct SettingField {
    int item;
    FieldKind kind;
    double min, max;
    // Above 0 even where the range's tolerance would let 0 through.
    bool positive = false;
};

class SettingsDialog {
public:
    // A null dialog() when the layout could not be used (it was reported).
    SettingsDialog(int resource, std::vector<SettingField> fields, bool modal_filter);
    ~SettingsDialog();
    SettingsDialog(const SettingsDialog&) = delete;
    SettingsDialog& operator=(const SettingsDialog&) = delete;

    DialogPtr dialog() const { return d_; }
    // Writes the value into its field in the program's own form.
    void put(int item, double value);
    // The field's value as last filled or accepted.
    double value(int item) const;
    // Shows the dialog with `first` the current field, its text selected.
    void show(int first);
    // A field that passes its check keeps the text as typed (otherwise it is
    // rewritten in the program's own form).
    void keep_typed_text() { keep_typed_ = true; }
    // Makes `item` the current field and selects its text.
    void select(int item);
    // The next hit that stands: 2 (Cancel) at once; 1 once the current
    // field and every field typed into have passed their checks; any other
    // item once the current field has passed (a field hit then becomes the
    // current one). 0 never comes back. `where` receives the hit's global
    // point.
    int next(plat::Point* where = nullptr);

private:
    const SettingField* spec(int item) const;
    bool check(int item);
    bool edited(int item) const;

    DialogPtr d_ = nullptr;
    std::vector<SettingField> fields_;
    std::map<int, double> values_;
    std::map<int, std::string> shown_;
    bool filter_ = true;
    bool keep_typed_ = false;
    int current_ = 0;
};

// Moves a group's choice to the square `item`, the old and new squares to
// be redrawn.
void choose_square(DialogPtr dialog, int* chosen, int item);

// Draws a user item's square: white inside a black frame, then `picture`
// with a normal black pen; the port's state is kept.
void draw_square(DialogPtr dialog, int item, const std::function<void(plat::Port&, const plat::Rect&)>& picture);

// The user item among first..last (visible) under the global point, or 0.
int item_under(DialogPtr dialog, plat::Point global, int first, int last);

}  // namespace drav
