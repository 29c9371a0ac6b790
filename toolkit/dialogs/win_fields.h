// Field back ends shared by the public field routines, and the helpers the
// field files (win_fields*.cpp, one per control class) share.
#pragma once

#include <windows.h>

#include <span>
#include <string_view>

#include "korvanthide/dialogs_win.h"
#include "dialogs/dialog_internal.h"

namespace korv {

inline const ControlClassAtoms& atoms() { return control_class_atoms(); }

inline bool is_text_entry(HWND w) { return is_edit_family(w); }

inline void redraw_now(HWND w) { RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW); }

int field_kind_of(HWND w);
int field_menu_kind(HWND w);
int field_state_of(HWND w);
int field_put_string(int id, double value, std::string_view text, std::string_view format);
int field_get_number(int id, double& value);
int field_set_integer_range(int id, double minimum, double maximum);
int field_set_real_spin_steps(int id, double small_step, double large_step);
int field_put_trackbar(int id, int position, const int* start, const int* end);
int field_get_trackbar(int id, int& position, int& start, int& end);
void field_radio_group_bounds(HWND button, HWND& first, HWND& last);
int field_put_radio_button(int id);
int field_get_radio_button(int id, int& position);
int field_put_check_box(int id, int state);
int field_get_check_box(int id, int& state);
int field_set_state(int id, int state, int redraw_mode);
int field_clear(int id);
int field_put_image(int id, int image, int kind);
void item_text_into(HWND w, UINT length_message, UINT text_message, int index, std::span<char> text);

} // namespace korv
