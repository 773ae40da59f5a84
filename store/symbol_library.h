// Access to the symbols of the work library: control records and their runs
// of pieces, a 24-record cache for scans, placing a piece for a placed
// symbol, exploding, user counts, the current library and copying a symbol
// from a library or drawing file into the work library.
#pragma once

#include <cstdint>

#include "store/files.h"
#include "store/records.h"

namespace drav {

constexpr int libcache_records = 24;
constexpr std::int16_t first_ctrl_record = 4;

extern std::uint16_t scan_symbols;  // the cache is on
extern std::int16_t recptr;         // next cache slot to overwrite
extern std::int16_t cachemap[libcache_records];  // record numbers; -1 empty
extern ObjectRec libcache[libcache_records];
extern std::int16_t* symbusers;     // user counts while a drawing is written
extern std::int32_t symbusers_count;  // entries of `symbusers`
extern std::int16_t currentlibRefNum;  // the current library's open fork; 0 none
extern std::uint16_t insymbsingle;  // a placement started from the library window runs
extern std::int16_t bad_pieces;        // damaged pieces `copy_symbol` emptied since last cleared

// ---- Cache and reading ----
void init_symbols();
void start_symbolscan();
void stop_symbolscan();
// Work-library record n into buf; 0 (buf zeroed) when n lies outside the
// work library or the read fails.
int get_ctrlrec(std::int16_t n, ObjectRec& buf);
int get_symbol(std::int16_t first, std::int16_t i, ObjectRec& buf);
int scan_cache(std::int16_t n, ObjectRec& buf);
void insert_cache(std::int16_t n, const ObjectRec& buf);
// Writes work-library record n; 1 when written.
int put_ctrlrec(std::int16_t n, const ObjectRec& buf);
// The text of text piece i into `textline`.
void symb_cumstgs(std::int16_t first, std::int16_t i, const ObjectRec& piece);
// 1 and the record number when a control record of the work library has this
// library name and symbol number.
int find_symb_indx(const char* libname, std::int16_t number, std::int16_t* index);
// The symbol name of work-library record n; text holds 9 bytes.
void get_symbol_name(std::int16_t n, char* text);
// 1 when control record n of the work library is one whose pieces lie inside
// the work library; *first and *count are its run.
int ctrl_run(std::int16_t n, std::int16_t* first, std::int16_t* count);

// ---- Placing and exploding ----
void symb_transform(const ObjectRec& symbol, ObjectRec& piece);
void change_symb_defaults(const ObjectRec& symbol, ObjectRec& piece);
int symb_explode(std::int16_t* first, std::int16_t* count);
int symb_implode();

// ---- Users of control records ----
int accept_symbol(std::int16_t n);
int symb_delete(std::int16_t n, int flag);
int symb_undelete(std::int16_t n);

// ---- Libraries ----
int makelibactive(const FSRef& ref, const char* name);
void get_activelib(FSRef* ref, std::int16_t* vol, std::int32_t* dir, char* name);
int open_default_library(int mode);
int check_lib_compatibility();
// The library window shows a library just opened (slots, rows, columns);
// installed by the library window at start-up.
using LibWindowOpener = void (*)(std::int16_t nslots, std::int16_t rows, std::int16_t cols);
void set_libwindow_opener(LibWindowOpener f);
// Makes the file the current library and opens it; 0 after error 120.
int open_library(const FSRef& ref, std::int16_t vol, std::int32_t dir, const char* name);
// The valid flag of control record i (0-based) of the current library; 0
// outside the library.
int valid_symbol(std::int16_t i);
// 1 when control record n of the current library fits into the work library.
int room_for_symbol(std::int16_t n);
// The symbol name of symbol n (1-based) of the current library; text holds 9 bytes.
void get_symb_name(std::int16_t n, char* text);
// Arms a direct placement from the library window.
void symb_direct(const FSRef& ref, const char* libname, std::int16_t number);
extern std::uint16_t dirsymbol;
extern char dirlibname[9];
extern std::int16_t dirsymnum;
extern FSRef dirFSRef;
// Copies the symbol of control record n of the open file `fork` into the
// work library; *newctrl its control record there. With convert, text pieces
// of the old layout are converted; damaged pieces become empty records,
// counted in `bad_pieces`. 0 when a record could not be read or the
// symbol does not fit (the work library is unchanged).
int copy_symbol(std::int16_t fork, std::int16_t n, std::int16_t* newctrl, const char* libname, int convert);

// Gives back control record n of the work library and its pieces when they
// are the last it took and nothing uses them: a copy made only to show a
// symbol while it is edited. 1 when given back.
int drop_symbol_copy(std::int16_t n);

// A text object of versions 52 and 54: its two doubles at 80 and 88 become floats.
void convert54text(ObjectRec& rec);
// The same for a text object that came from a PC file: the PC conversion
// turned each of the two doubles as two floats, so their halves are swapped
// back first.
void convert54text_pc(ObjectRec& rec);

// ---- User counts while a drawing is written ----
// A zeroed table of `count` user counts (the work library's `ctrlsize`
// unless a library of another size is compacted); error 47 without memory.
int open_symbusers(std::int32_t count = -1);
void close_symbusers();
void inc_symbusers(std::int16_t n);
std::int16_t cnt_symbusers(std::int16_t n);
int bad_symbusers(std::int16_t n, std::int16_t count);

}  // namespace drav
