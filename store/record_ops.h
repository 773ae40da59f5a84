// What every command does to object records: store a new object, test its
// geometry, delete and undelete, take back what a running command added,
// transform, copy, and keep a text's string whole. They work on the current
// record `info` unless a record is passed.
#pragma once

#include <cstdint>

#include "store/records.h"

namespace drav {

constexpr int textline_size = 126;

extern std::int16_t indx;                 // the current object; the one stored last
extern char textline[textline_size];      // the whole string of the current text object
extern std::int16_t objdeleted;           // deletes not yet undeleted; enables Undelete
extern std::uint16_t fremove;             // a degenerate object is refused without a word
extern double x_save_last, y_save_last;   // the reference point when the running command began

constexpr std::uint8_t dotted_style = 8;  // the line style of template objects

// ---- Storing ----
// Appends `info` at `number_of_objects` as a live object, stamped with the
// current properties. 1 when stored; 0 when refused: no room (error 68,
// `quit` set) or degenerate geometry (error 67 unless `fremove`).
int save_object();
// The same for records added in bulk and drawn otherwise: no validity test
// and no drawing, but the same room test.
int obj_save();
// Puts `textline` into the text object `info` (record n, already counted):
// up to 29 bytes inline, a longer string whole in a continuation record
// appended at `number_of_objects`. 0 when there was no room for that record
// (error 68, `quit` set, the string cut to fit inline).
int save_text(std::int16_t n);
int obj_valid();
// A drawing object from outside (a file, a library) whose every value can be
// worked with: object kind 1-9, level up to 250, colour up to 255, finite
// reals, a polygon of 3 to 360 sides, not a placed symbol when `piece`.
// Its strings are ended inside their fields on the way.
int obj_sound(ObjectRec& r, int piece = 0);
int xobj_valid(const ObjectRec& rec);
// 1 when 36 <= n < `number_of_objects` and record n (left in `info`) is a
// live object; with withtext a text's string is loaded into `textline`.
int objok(std::int16_t n, int withtext);
// The string of text object n, held in `info`, into `textline`; `info` is
// left as it was.
void cumstgs(std::int16_t n);

// ---- Deleting ----
// Deletes the object in `info` (record n): the live bit goes; with permanent
// the slot is emptied, a text's continuation with it. The caller erases it
// from the screen first.
void delete_object(std::int16_t n, int permanent);
// Makes the object in `info` (record n) live again.
void undel_object(std::int16_t n, int draw);
// Removes every object from index n on and gives the slots back.
void erase_many_objects(std::int16_t n);
// The last object of a running drawing command, when one lies above stop;
// `info` is left in the free slot holding the template for the next object.
// 1 when one was removed.
int erase_one_object(std::int16_t first, std::int16_t stop, int keepchain);
// Steps n down, loading each record, to the nearest drawing-object record
// (kind 12) at or above 36. 0 when there is none.
int back_up(std::int16_t* n);
// With permanent, empties the continuation record n + 1 of the text object
// `info`; `info` holds record n again afterwards.
void delete_words(std::int16_t n, int permanent);

// ---- Transforming; geometry is relative to the reference point ----
// Scales, then rotates, then translates.
void change_object(double sx, double sy, double angle, double dx, double dy, ObjectRec& rec);
// A negative x factor becomes a mirror in y plus a half turn added to the
// pending *angle; (1, 1) changes nothing.
void scaling(double sx, double sy, double* angle, ObjectRec& rec);
void scale_object(double sx, double sy, double* angle, ObjectRec& rec);
void scale_line(double sx, double sy, double* angle, ObjectRec& rec);
void scale_rectangle(double sx, double sy, double* angle, ObjectRec& rec);
void scale_ellipse(double sx, double sy, double* angle, ObjectRec& rec);
void scale_words(double sx, double sy, double* angle, ObjectRec& rec);
void scale_ldim(double sx, double sy, double* angle, ObjectRec& rec);
void scale_bezier(double sx, double sy, double* angle, ObjectRec& rec);
void scale_point(double sx, double sy, double* angle, ObjectRec& rec);
void scale_symbol(double sx, double sy, double* angle, ObjectRec& rec);
void scale_adim(double sx, double sy, double* angle, ObjectRec& rec);
void rotating(ObjectRec& rec, double angle);
void translating(double dx, double dy, ObjectRec& rec);
// Mirrors `info` about the line through (x, y) at angle.
void mirror(double angle, double x, double y);
double object_rotation(const ObjectRec& rec, int degrees);
void set_rotation(double angle, ObjectRec& rec);
void set_init(double x, double y, ObjectRec& rec);
void set_handle(double x, double y, ObjectRec& rec);
// Toggle the end arrow, the middle marker or the template bit of `info`.
void arrw_change();
void marker_change();
void templ_change();

// ---- Copying ----
// Appends a copy of record n (and of its text continuation). 1 when stored;
// 0 without room (error 68, `quit` set).
int make_copy(std::int16_t n);
void copy_text(std::int16_t n);

}  // namespace drav
