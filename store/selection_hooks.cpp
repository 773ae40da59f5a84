#include "store/selection_hooks.h"

#include "store/record_store.h"

namespace drav {

namespace {

SelectionDisplay g_sel;

// Showing loads other records; the caller's current record, perhaps a new
// object not yet stored, comes back as it was.
class KeepInfo {
public:
    KeepInfo() : saved_(info), index_(prev_index) {}
    ~KeepInfo() {
        if (index_ == -1) return;
        get_info(index_);
        info = saved_;
    }
    KeepInfo(const KeepInfo&) = delete;
    KeepInfo& operator=(const KeepInfo&) = delete;

private:
    ObjectRec saved_;
    std::int16_t index_;
};

}  // namespace

void set_selection_display(const SelectionDisplay& display) { g_sel = display; }

void hook_showonoff(std::int16_t index, std::int16_t on) {
    if (!g_sel.showonoff) return;
    KeepInfo keep;
    g_sel.showonoff(index, on);
}

void hook_showcurrent(std::int16_t index) {
    if (!g_sel.showcurrent) return;
    KeepInfo keep;
    g_sel.showcurrent(index);
}

void hook_nullohp() {
    if (!g_sel.nullohp) return;
    KeepInfo keep;
    g_sel.nullohp();
}

void hook_nullghp() {
    if (!g_sel.nullghp) return;
    KeepInfo keep;
    g_sel.nullghp();
}

void hook_get_oghandle(double* x, double* y) {
    *x = *y = 0;
    if (g_sel.get_oghandle) g_sel.get_oghandle(x, y);
}

}  // namespace drav
