// The driver table of the display list and its front functions. The table
// starts out holding the built-in engine, so the graphics unit may rebase the
// canvas even before the start-up fills it.
#include "display/display_list.h"
#include "display/list_replay.h"
#include "display/list_view.h"
#include "display/pan_canvas.h"
#include "store/files.h"

namespace drav {

namespace {

constexpr ListDriver engine{
    _zoommsg,      _sketchlist, _showseg,     _findseg,   _startinq,     _inqseg,        _deleteseg,
    _crunchseg,    _growseg,    _growrect,    _growcir,   _begseg,       _startseg,      _stopseg,
    _statslist,    _listinstalled, _listavail, _freelist, _initlist,     _termlist,      _updatelist,
    _panlist,      _zoomlist,   _cenlist,     _homelist,  _multlist,     _regenlist,     _changelist,
    _fulllist,     _crunchlist, _visiblelist, _has_birdseye, _has_fastobj, _has_inoutzoom, _has_inqseg,
    _has_findseg,  _has_levels, _colorseg,
};

}  // namespace

ListDriver listdriver = engine;

void vmlistinit() {
    listdriver = engine;
    memory_release_hook = release_list_memory;
}

void zoommsg(std::int16_t n) { listdriver.zoommsg(n); }
void sketchlist() { listdriver.sketchlist(); }
void showseg(std::int16_t mode, std::int16_t index) { listdriver.showseg(mode, index); }
void findseg(std::int16_t* index, double x, double y) { listdriver.findseg(index, x, y); }
void startinq(std::int16_t index) { listdriver.startinq(index); }
std::int16_t inqseg(std::uint8_t* buffer) { return listdriver.inqseg(buffer); }
void deleteseg(std::int16_t index) { listdriver.deleteseg(index); }
void crunchseg(std::int16_t to, std::int16_t from) { listdriver.crunchseg(to, from); }
void growseg(double x1, double y1, double x2, double y2) { listdriver.growseg(x1, y1, x2, y2); }
void growrect(double x1, double y1, double x2, double y2) { listdriver.growrect(x1, y1, x2, y2); }
void growcir(double x1, double y1, double x2, double y2) { listdriver.growcir(x1, y1, x2, y2); }
void begseg(std::int16_t cls, std::int16_t colour, std::int16_t style, std::int16_t level,
            std::int16_t strokes) {
    listdriver.begseg(cls, colour, style, level, strokes);
}
void startseg(std::int16_t cls) { listdriver.startseg(cls); }
void stopseg(std::int16_t index) { listdriver.stopseg(index); }
void statslist(std::int32_t* a, std::int32_t* b, std::int32_t* c) { listdriver.statslist(a, b, c); }
std::int16_t listinstalled() { return listdriver.listinstalled(); }
std::int16_t listavail() { return listdriver.listavail(); }
void freelist() { listdriver.freelist(); }
void initlist() { listdriver.initlist(); }
void termlist() { listdriver.termlist(); }
void updatelist(std::int16_t dx, std::int16_t dy, std::int16_t home, std::int16_t zoomed,
                std::int16_t centre, std::int16_t hthumb, std::int16_t vthumb) {
    listdriver.updatelist(dx, dy, home, zoomed, centre, hthumb, vthumb);
}
void panlist(std::int16_t dx, std::int16_t dy) { listdriver.panlist(dx, dy); }
void zoomlist(std::int16_t n) { listdriver.zoomlist(n); }
void cenlist() { listdriver.cenlist(); }
void homelist() { listdriver.homelist(); }
void multlist() { listdriver.multlist(); }
void regenlist() { listdriver.regenlist(); }
void changelist() { listdriver.changelist(); }
void fulllist(double* xl, double* xr, double* yb, double* yt) { listdriver.fulllist(xl, xr, yb, yt); }
void crunchlist() { listdriver.crunchlist(); }
void visiblelist() { listdriver.visiblelist(); }
std::int16_t has_birdseye() { return listdriver.has_birdseye(); }
std::int16_t has_fastobj() { return listdriver.has_fastobj(); }
std::int16_t has_inoutzoom() { return listdriver.has_inoutzoom(); }
std::int16_t has_inqseg() { return listdriver.has_inqseg(); }
std::int16_t has_findseg() { return listdriver.has_findseg(); }
std::int16_t has_levels() { return listdriver.has_levels(); }
void colorseg(std::int16_t index, std::int16_t colour) { listdriver.colorseg(index, colour); }

}  // namespace drav
