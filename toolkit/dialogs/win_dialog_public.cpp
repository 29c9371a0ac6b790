// The dialog manager's public routines: each checks that a dialog is
// current, calls one back end and turns its code into an error number,
// reported once under the routine's own name.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

#include "korvanthide/drawing.h"
#include "korvanthide/errors.h"
#include "korvanthide/fixed_text.h"
#include "korvanthide/graphics_state.h"
#include "korvanthide/startup.h"
#include "korvanthide/window.h"
#include "core/context.h"
#include "dialogs/dialog_internal.h"
#include "dialogs/number_text.h"
#include "dialogs/win_fields.h"

namespace {

using namespace korv;


bool no_current_dialog(std::string_view routine)
{
    if (dialog_result_state().current_dialog != 0)
        return false;
    err_report(err::no_dialog, routine);
    return true;
}

// The common ending: -1 is a missing field or a class the routine does not
// take; other codes as the routine lists them.
void report_code(int code, std::string_view routine, int other = 0)
{
    if (code == -1)
        err_report(err::field_id, routine);
    else if (code < -1 && other != 0)
        err_report(other, routine);
}

std::string_view trim_blanks(std::string_view text) { return text_trimmed(text); }

// The window layer's current window is made the graphics window around a
// conversion of window units, and given back afterwards.
class WindowUnits {
public:
    explicit WindowUnits(int window)
    {
        previous_ = graphics_state().current_window;
        if (window != previous_) {
            YYWINSEL(window, 0);
            switched_ = true;
        }
    }
    ~WindowUnits()
    {
        if (switched_)
            YYWINSEL(previous_, 0);
    }
    WindowUnits(const WindowUnits&) = delete;
    WindowUnits& operator=(const WindowUnits&) = delete;

private:
    int previous_ = 0;
    bool switched_ = false;
};

void show(int x, int y, int focus, int mode, std::string_view routine)
{
    if (no_current_dialog(routine))
        return;
    bool bad_mode = false;
    if (mode < 1 || mode > 3) {
        bad_mode = true;
        mode = 2;
    }
    int px = x;
    int py = y;
    int parent = 0;
    dialog_parent_window_number(parent);
    if (x != -1 || y != -1) {
        WindowUnits units(parent);
        int cx = 0;
        int cy = 0;
        gr_window_units_to_pixel(x, y, cx, cy);
        if (x != -1)
            px = cx;
        if (y != -1)
            py = cy;
    }
    const bool modal = mode == 1;
    int ignored = 0;
    if (modal)
        dialog_window_snapshots(1, -1, ignored);
    int result = mode;
    dialog_show(x, y, px, py, result, focus, 0);
    if (modal) {
        if (result == -1) {
            err_report(err::dialog_mode, routine);
            return;
        }
        dialog_window_snapshots(0, -1, ignored);
        DialogResultState& s = dialog_result_state();
        s.exit_button = dialog_exit_codes(1);
        s.exit_field = dialog_exit_codes(2);
        s.dialog_state = dialog_exit_codes(3);
    }
    switch (result) {
    case -1: err_report(err::dialog_mode, routine); return;
    case -2: err_report(err::parent_hidden, routine); return;
    case -3: err_report(err::parent_combined, routine); return;
    case -4: err_report(err::dialog_combined, routine); return;
    case -5: err_report(err::dialog_create, routine); return;
    default: break;
    }
    if (bad_mode)
        err_report(err::dialog_mode, routine);
}

// Reports under the name its caller left in the routine-name field.
void field_put_number(int id, double value, std::string_view text, std::string_view format)
{
    if (dialog_result_state().current_dialog == 0) {
        err_report_current(err::no_dialog);
        return;
    }
    const int range = field_check_number_range(id, value);
    if (range == -2) {
        err_report_current(err::value_out_of_range);
        return;
    }
    if (range == -1) {
        err_report_current(err::field_id);
        return;
    }
    if (field_put_string(id, value, text, format) == -1)
        err_report_current(err::field_id);
}

} // namespace

namespace korv {

DialogResultState& dialog_result_state()
{
    return toolkit_context().record<DialogResultState>(ContextSlot::dialog_results);
}

} // namespace korv

void WDialogLoad(int resource, std::optional<int> identifier, int window)
{
    const int id = identifier.value_or(resource);
    int result = resource;
    dialog_load(result, id, window);
    switch (result) {
    case -1: err_report(err::too_many_dialogs, "WDialogLoad"); return;
    case -2: err_report(err::dialog_missing, "WDialogLoad"); return;
    case -3: err_report(err::dialog_create, "WDialogLoad"); return;
    default: dialog_result_state().current_dialog = id;
    }
}

void WDialogShow(int x, int y, int focus, int mode) { show(x, y, focus, mode, "WDialogShow"); }

void korv::dialog_show_reporting(int x, int y, int focus, int mode, std::string_view routine)
{
    show(x, y, focus, mode, routine);
}

void WDialogSelect(int identifier)
{
    int id = identifier;
    dialog_select_by_id(id);
    if (id == -1) {
        err_report(err::dialog_select, "WDialogSelect");
        return;
    }
    dialog_result_state().current_dialog = identifier;
}

void WDialogHide()
{
    if (dialog_result_state().current_dialog == 0)
        return;
    int slot = -1;
    dialog_hide(slot);
    if (slot == -1)
        err_report(err::dialog_combined, "WDialogHide");
    else if (slot == -2)
        err_report(err::sub_dialog, "WDialogHide");
}

void WDialogUnload(int keep_pages)
{
    if (no_current_dialog("WDialogUnload"))
        return;
    int slot = -1;
    dialog_hide(slot);
    if (slot == -1) {
        err_report(err::dialog_combined, "WDialogUnload");
        return;
    }
    if (slot == -2) {
        err_report(err::sub_dialog, "WDialogUnload");
        return;
    }
    dialog_unload(keep_pages, -1);
    dialog_result_state().current_dialog = 0;
}

void WDialogPutString(int id, std::string_view text)
{
    if (no_current_dialog("WDialogPutString"))
        return;
    report_code(field_put_string(id, 0.0, trim_blanks(text), {}), "WDialogPutString");
}

void WDialogGetString(int id, std::span<char> text)
{
    if (no_current_dialog("WDialogGetString"))
        return;
    if (field_get_string(id, text) == -1) {
        text_assign(text, {});
        err_report(err::field_id, "WDialogGetString");
    }
}

void WDialogGetStringLength(int id, int& length)
{
    if (no_current_dialog("WDialogGetStringLength"))
        return;
    report_code(field_get_string_length(id, length), "WDialogGetStringLength");
}

void WDialogPutInteger(int id, int value)
{
    const std::string text = number_text_integer(value);
    err_routine_name_set("WDialogPutInteger");
    field_put_number(id, value, text, {});
}

void WDialogPutReal(int id, float value, std::string_view format)
{
    // The format is held in 50 characters and ends at a terminating character.
    std::string given(format.substr(0, std::min<std::size_t>(format.size(), 50)));
    given = given.substr(0, given.find('\0'));
    std::string used(text_trimmed(given));
    if (used.empty()) {
        std::array<char, 50> field_format{};
        field_get_format(id, field_format);
        used = std::string(text_trimmed(std::string_view(field_format.data(), field_format.size())));
    }
    const std::string text = number_text_real(value, used);
    err_routine_name_set("WDialogPutReal");
    field_put_number(id, value, text, used);
}

namespace {

// The value of a number field for a public getter; false after a report
// when there is no dialog or no such field, or when the field holds no value
// (the result then takes the toolkit's undefined value).
template <class Number>
bool number_for_getter(int id, double& v, Number& value, Number undefined, std::string_view routine)
{
    if (no_current_dialog(routine))
        return false;
    const int code = field_get_number(id, v);
    if (code == -2) {
        value = undefined;
        err_report(err::value_undefined, routine);
        return false;
    }
    if (code == -1) {
        err_report(err::field_id, routine);
        return false;
    }
    return true;
}

} // namespace

void WDialogGetInteger(int id, int& value)
{
    double v = 0;
    if (!number_for_getter(id, v, value, toolkit_state().undefined_integer, "WDialogGetInteger"))
        return;
    // A number beyond the 32-bit range is held at the nearest end.
    const double t = std::trunc(v);
    if (!(t >= std::numeric_limits<int>::min()))
        value = std::numeric_limits<int>::min();
    else if (!(t <= std::numeric_limits<int>::max()))
        value = std::numeric_limits<int>::max();
    else
        value = static_cast<int>(t);
}

void WDialogGetReal(int id, float& value)
{
    double v = 0;
    if (!number_for_getter(id, v, value, toolkit_state().undefined_real, "WDialogGetReal"))
        return;
    value = static_cast<float>(v);
}

void WDialogRangeInteger(int id, std::optional<int> minimum, std::optional<int> maximum)
{
    if (no_current_dialog("WDialogRangeInteger"))
        return;
    double lo = 1000;
    double hi = -1000;
    if (minimum || maximum) {
        lo = minimum ? *minimum : -2147483647.0;
        hi = maximum ? *maximum : 2147483647.0;
    }
    report_code(field_set_integer_range(id, lo, hi), "WDialogRangeInteger");
}

void WDialogSpinnerStep(int id, float small_step, std::optional<float> large_step)
{
    if (no_current_dialog("WDialogSpinnerStep"))
        return;
    report_code(field_set_real_spin_steps(id, small_step, large_step.value_or(small_step)),
                "WDialogSpinnerStep");
}

void WDialogPutTrackBar(int id, int position, std::optional<int> selection_start,
                        std::optional<int> selection_end)
{
    if (no_current_dialog("WDialogPutTrackBar"))
        return;
    const int* start = selection_start ? &*selection_start : nullptr;
    const int* end = selection_end ? &*selection_end : nullptr;
    report_code(field_put_trackbar(id, position, start, end), "WDialogPutTrackBar");
}

void WDialogGetTrackBar(int id, int& position)
{
    int start = 0;
    int end = 0;
    if (no_current_dialog("WDialogGetTrackBar"))
        return;
    int pos = position;
    const int code = field_get_trackbar(id, pos, start, end);
    report_code(code, "WDialogGetTrackBar");
    if (code == 0)
        position = pos;
}

void WDialogGetTrackBar(int id, int& position, int& selection_start, int& selection_end)
{
    if (no_current_dialog("WDialogGetTrackBar"))
        return;
    int pos = position;
    int start = selection_start;
    int end = selection_end;
    const int code = field_get_trackbar(id, pos, start, end);
    report_code(code, "WDialogGetTrackBar");
    if (code == 0) {
        position = pos;
        selection_start = start;
        selection_end = end;
    }
}

void WDialogPutMenu(int id, std::span<const std::string_view> items, int count, int selected,
                    std::optional<std::string_view> text)
{
    constexpr std::string_view routine = "WDialogPutMenu";
    if (no_current_dialog(routine))
        return;
    HWND w = current_field(id);
    const int kind = w ? field_menu_kind(w) : -1;
    if (kind == -1 || kind == 4) {
        err_report(err::field_id, routine);
        return;
    }
    field_clear(id);
    const int n = std::clamp(count, 0, static_cast<int>(items.size()));
    for (int i = 0; i < n; ++i)
        field_menu_add_item(id, text_trimmed(items[static_cast<std::size_t>(i)]));
    if (selected == 0 && kind == 3 && text) {
        field_combo_select_text(id, text_trimmed(*text));
        return;
    }
    if (field_menu_select(id, selected) == -1)
        err_report(err::option_number, routine);
}

namespace {

void get_menu(int id, int& item, std::span<char>* text)
{
    constexpr std::string_view routine = "WDialogGetMenu";
    if (no_current_dialog(routine))
        return;
    HWND w = current_field(id);
    const int kind = w ? field_menu_kind(w) : -1;
    if (kind == -1 || kind == 4) {
        err_report(err::field_id, routine);
        return;
    }
    const int code = kind == 1 ? field_get_list_selection(id, item, text) : field_get_menu_text(id, item, text);
    if (code == -2) {
        item = toolkit_state().undefined_integer;
        err_report(err::value_undefined, routine);
    }
}

} // namespace

void WDialogGetMenu(int id, int& item) { get_menu(id, item, nullptr); }

void WDialogGetMenu(int id, int& item, std::span<char> text) { get_menu(id, item, &text); }

void WDialogPutCheckBox(int id, int state)
{
    if (no_current_dialog("WDialogPutCheckBox"))
        return;
    report_code(field_put_check_box(id, state), "WDialogPutCheckBox");
}

void WDialogGetCheckBox(int id, int& state)
{
    if (no_current_dialog("WDialogGetCheckBox"))
        return;
    int s = state;
    const int code = field_get_check_box(id, s);
    report_code(code, "WDialogGetCheckBox");
    if (code == 0)
        state = s;
}

void WDialogPutRadioButton(int id)
{
    if (no_current_dialog("WDialogPutRadioButton"))
        return;
    report_code(field_put_radio_button(id), "WDialogPutRadioButton");
}

void WDialogGetRadioButton(int id, int& position)
{
    if (no_current_dialog("WDialogGetRadioButton"))
        return;
    int p = position;
    const int code = field_get_radio_button(id, p);
    if (code == -2) {
        position = toolkit_state().undefined_integer;
        err_report(err::value_undefined, "WDialogGetRadioButton");
        return;
    }
    report_code(code, "WDialogGetRadioButton");
    if (code == 0)
        position = p;
}

void WDialogFieldState(int id, int state)
{
    if (no_current_dialog("WDialogFieldState"))
        return;
    report_code(field_set_state(id, state, 0), "WDialogFieldState");
}

void WDialogClearField(int id)
{
    if (no_current_dialog("WDialogClearField"))
        return;
    report_code(field_clear(id), "WDialogClearField");
}

void WDialogPutImage(int id, int image, int kind)
{
    constexpr std::string_view routine = "WDialogPutImage";
    if (no_current_dialog(routine))
        return;
    if (kind == 4) {
        if (image < 1 || image > 20) {
            err_report(err::image_id, routine);
            return;
        }
        int width = 0;
        int height = 0;
        if (gr_platform().metafile_kind(image, width, height) != 3) {
            err_report(err::metafile_format, routine);
            return;
        }
    }
    report_code(field_put_image(id, image, kind), routine, err::image_id);
}

void WDialogTitle(std::optional<std::string_view> title, std::optional<int> icon)
{
    if (no_current_dialog("WDialogTitle"))
        return;
    int icon_id = icon.value_or(-1);
    const std::string_view text = title ? text_trimmed(*title) : std::string_view{};
    dialog_set_title_and_icon(icon_id, title ? 1 : 0, text);
    if (icon_id == -2)
        err_report(err::image_id, "WDialogTitle");
}

void WDialogSetField(int id, std::optional<int> position)
{
    if (no_current_dialog("WDialogSetField"))
        return;
    report_code(field_set_focus(id, position ? *position - 1 : -1), "WDialogSetField");
}
