// The dialog manager's own operations on dialogs and fields: the back ends
// that no public routine fronts and the options only its files set. Codes
// as the public routines use them: -1 a missing field or a class the
// operation does not accept, -2 and -3 as each operation says.
#pragma once

#include <windows.h>

#include <span>
#include <string_view>

#include "korvanthide/dialogs.h"

namespace korv {

// Dialog options: code 1 picks the validation sound (1 default, 2 asterisk,
// 3 exclamation), code 4 the blank-allowed default of grid number editors.
void dialog_set_option(int code, int value);
// dialog_beep for a caller that hands the kind by reference.
inline void dialog_beep_by_ref(const int& kind) { dialog_beep(kind); }

// Back ends without a public routine.
int field_set_option(int id, int code, int value);
int field_set_integer_spin_steps(int id, int small_step, int large_step, int base);
int field_set_double_spin_steps(int id, double small_step, double large_step);
int field_set_trackbar_range(int id, int minimum, int maximum, int tick_frequency);
int field_set_trackbar_steps(int id, int line, int page);
int field_get_trackbar_range(int id, int& minimum, int& maximum);
int field_put_progress(int id, int value, int step);
int field_set_progress_range(int id, int minimum, int maximum);
int field_get_tab_page(int id, int& page);
int field_tab_select_page(int id, int& page);
int field_tab_enable_page(int id, int& page, int enable);
int field_kind(int id, int& kind);
int field_get_state(int id, int& state);
int field_rectangle(int id, int& x, int& y, int& width, int& height, int mode);
int field_list_count(int id, int& count);
int field_list_is_selected(int id, int position, int& state);
int field_list_set_item_selected(int id, int position, int select);
int field_list_select_range(int id, int first, int last, int select);
int field_set_colours(int id, int fr, int fg, int fb, int br, int bg, int bb);
int field_set_tab_stops(int id, std::span<const int> stops);
int field_get_format(int id, std::span<char> format);
int field_check_number_range(int id, double value);
int dialog_set_size(int width, int height);
void dialog_base_units(int& horizontal, int& vertical);
void field_set_no_selection_value(int value);
void field_tree_unique_numbers(int flag);
// Trees: every item carries a number.
int field_get_tree_selection(int id, int& number, bool want_text, std::span<char> text);
int field_tree_select_item(int id, int number);
int field_tree_delete_item(int id, int number);
int field_tree_insert_item(int id, int reference, int position_code, int number,
                           std::string_view text);
int field_tree_item_expanded(int id, int number, int& state);
int field_tree_expand_item(int id, int number, int code);
int field_tree_set_item_text(int id, int number, std::string_view text);

// Of the current dialog after it ended modally: 1 the exit button, 2 the
// exit field, 3 the identifier of the last modal dialog; 0 otherwise.
int dialog_exit_codes(int code);

// Colour `which` (1 text, else background) of a field's record: red 256
// the system's colour, red -1 no change, else red, green and blue 0..255.
void field_set_colour(HWND field, int which, int red, int green, int blue);

} // namespace korv
