// Typed values of dialog fields: parsed by kind (0 plain real, 1 length,
// 2 angle), checked against a range, reported with alert 33 (out of range)
// or 34 (not a number) and the text selected for retyping; the controls of
// nib windows found by id and read without alerts; and the key filters that
// keep characters out of a number field.
#pragma once

#include <cstdint>

#include "dialogs/dialog_helpers.h"

namespace drav {

// Old-style dialog fields: 1 and *out set, or an alert, the text selected,
// 0 and *out untouched.
bool check_real(DialogPtr dialog, int item, double* out, double min, double max, int kind);
bool check_smreal(DialogPtr dialog, int item, float* out, double min, double max, int kind);
// Lengths read in the output (paper) unit.
bool output_check_real(DialogPtr dialog, int item, double* out, double min, double max, int kind);
bool check_integer(DialogPtr dialog, int item, std::int16_t* out, int min, int max);

// The same on a text-edit field.
bool okstg_real(ControlRef field, double* out, double min, double max, int kind);
bool okstg_smreal(ControlRef field, float* out, double min, double max, int kind);
bool okstg_integer(ControlRef field, std::int16_t* out, int min, int max);

// Nib windows.
ControlRef GrabCRef(DialogPtr window, std::uint32_t signature, std::int32_t id);
bool GetRealValueFromEditTextControl(ControlRef control, double* out, double min, double max, int kind);
bool GetIntegerValueFromEditTextControl(ControlRef control, std::int16_t* out, int min, int max);
bool GetValueFromCheckBoxControl(ControlRef control, std::int16_t* out);
bool EditTextControlIsEmpty(ControlRef control);
bool SetRealValueInEditTextControl(ControlRef control, double value, int kind);
bool SetIntegerValueInEditTextControl(ControlRef control, int value);
bool ClearValueInEditTextControl(ControlRef control);

// Key filters: true lets the character through.
bool FilterRealValues(ControlRef control, std::uint8_t ch);
bool FilterAngleValues(ControlRef control, std::uint8_t ch);
bool FilterIntValues(ControlRef control, std::uint8_t ch);
// Installs one of them on an edit-text control (the 'fltr' tag).
void install_key_filter(ControlRef control, bool (*filter)(ControlRef, std::uint8_t));

}  // namespace drav
