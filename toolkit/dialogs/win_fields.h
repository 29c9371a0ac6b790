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
// The window text, cut at the text's length and blank-padded.
int field_get_string(int id, std::span<char> text);
int field_get_string_length(int id, int& length);
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
// Menus (list and combo boxes of menu kinds 1 to 4). An item goes at the
// end; selected counts from 1, 0 selecting nothing, -1 for a number the
// list refuses; the text is the selection's, blank-padded, when asked for.
int field_menu_add_item(int id, std::string_view text);
int field_menu_select(int id, int selected);
// Selects the item that is exactly the text, else writes the text into
// the combo box's edit part.
int field_combo_select_text(int id, std::string_view text);
// A list box's selection from 1; -2 when nothing is selected.
int field_get_list_selection(int id, int& item, std::span<char>* text);
// A combo box's selection from 1, or for a typed text the item that is
// exactly that text (0 when none); -2 with neither text nor selection.
int field_get_menu_text(int id, int& item, std::span<char>* text);
void item_text_into(HWND w, UINT length_message, UINT text_message, int index, std::span<char> text);

} // namespace korv
