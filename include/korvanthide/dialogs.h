// The dialog manager: dialogs loaded from the program's resources into a
// table of up to 100, shown modeless, semi-modeless or modal, and their
// fields read and written by control identifier in the current dialog.
//
// Every public routine reports a failure through korv::err_report under its
// own name and otherwise returns nothing; outputs keep their values on a
// failure unless the routine says otherwise.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

// Life cycle.
// Loads dialog template `resource` under `identifier` (default: the resource
// number), owned by the client area of toolkit window `window` (-1: the
// owner that message boxes would get), and makes it the current dialog.
void WDialogLoad(int resource, std::optional<int> identifier = {}, int window = 0);
// Shows the current dialog at x, y (-1: centred), with the focus on field
// `focus` (0: none), in mode 1 modal, 2 modeless or 3 semi-modeless.
void WDialogShow(int x = -1, int y = -1, int focus = 0, int mode = 2);
// WDialogShow at the client-area origin of toolkit window `window`.
void WDialogShowAtWindow(std::optional<int> focus, std::optional<int> mode, int window);
void WDialogSelect(int identifier);
void WDialogHide();
void WDialogUnload(int keep_pages = 0);

// Field access. A caller's output text is always filled to its length.
void WDialogPutString(int id, std::string_view text);
void WDialogGetString(int id, std::span<char> text);
void WDialogGetStringLength(int id, int& length);
void WDialogPutInteger(int id, int value);
void WDialogPutReal(int id, float value, std::string_view format = {});
void WDialogGetInteger(int id, int& value);
void WDialogGetReal(int id, float& value);
void WDialogRangeInteger(int id, std::optional<int> minimum = {}, std::optional<int> maximum = {});
void WDialogSpinnerStep(int id, float small_step, std::optional<float> large_step = {});
void WDialogPutTrackBar(int id, int position, std::optional<int> selection_start = {},
                        std::optional<int> selection_end = {});
void WDialogGetTrackBar(int id, int& position);
void WDialogGetTrackBar(int id, int& position, int& selection_start, int& selection_end);
// Fills a list or combo box with the first `count` items (trailing blanks
// cut) and selects item `selected` (from 1; 0 none). With selected 0 and a
// combo box that has an edit part, `text` is selected or typed into it.
void WDialogPutMenu(int id, std::span<const std::string_view> items, int count, int selected,
                    std::optional<std::string_view> text = {});
void WDialogGetMenu(int id, int& item);
void WDialogGetMenu(int id, int& item, std::span<char> text);
void WDialogPutCheckBox(int id, int state);
void WDialogGetCheckBox(int id, int& state);
void WDialogPutRadioButton(int id);
void WDialogGetRadioButton(int id, int& position);
// 0 disabled, 1 enabled, 2 read-only, 3 hidden.
void WDialogFieldState(int id, int state);
void WDialogClearField(int id);
// Kind 1 bitmap resource, 2 icon resource, 3 memory bitmap, 4 metafile
// slot, 5 ZOQMETAFILE resource.
void WDialogPutImage(int id, int image, int kind = 1);
void WDialogTitle(std::optional<std::string_view> title = {}, std::optional<int> icon = {});
void WDialogSetField(int id, std::optional<int> position = {});

namespace korv {

// The public-routine side of the dialog manager, read by WToolkitQuery.
struct DialogResultState {
    std::int32_t current_dialog = 0;  // identifier; 0 none
    std::int32_t exit_button = 0;     // of the last modal dialog
    std::int32_t exit_field = 0;
    std::int32_t dialog_state = 0;    // identifier of the last modal dialog
    std::int32_t answer = 0;          // of the last message box or common dialog
};
DialogResultState& dialog_result_state();

// Dialog options: code 1 picks the validation sound (1 default, 2 asterisk,
// 3 exclamation), code 4 the blank-allowed default of grid number editors.
void dialog_set_option(int code, int value);
// Plays a sound: 1 a refused key, 2 a failed validation, 3 a grid refusal.
void dialog_beep(int kind);
inline void dialog_beep_by_ref(const int& kind) { dialog_beep(kind); }

// Back ends without a public routine; codes as the public routines use them
// (-1 missing field or class not accepted, -2 and -3 per operation).
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

// Table queries.
int dialog_free_slots();
int dialog_exit_codes(int code);

} // namespace korv
