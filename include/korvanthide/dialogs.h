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

// Plays a sound: 1 a refused key, 2 a failed validation, 3 a grid refusal.
void dialog_beep(int kind);

// Table queries.
int dialog_free_slots();

} // namespace korv
