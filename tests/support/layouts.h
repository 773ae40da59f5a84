// A bundle of the test's own: the real strings, window layouts and key
// filters, and a test dialog with one item of every kind.
#pragma once

namespace drav::test {

// The test dialog's resource id. Its items: 1 OK, 2 Cancel (the cancel
// item), 3 static text, 4 and 5 edit text, 6 check box, 7-9 radio buttons,
// 10 pop-up menu (Inch, Foot, Metre), 11 user item, 12 list (A, B, C),
// 13 scroll bar (0..100, at 40), 14 picture. Its content is 301 x 200.
constexpr int test_dialog = 900;

// Points the program's bundle at the copy; further layouts can be written
// into it (ui/dlog/<id>.ui) by write_layout.
void use_test_layouts();
void write_layout(const char* relative_path, const char* text);
// Back to the real bundle.
void drop_test_layouts();

}  // namespace drav::test
