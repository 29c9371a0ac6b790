// Text and number fields: their text, value, format, range and spin steps.

#include <windows.h>

#include <algorithm>
#include <string>

#include "korvanthide/fixed_text.h"
#include "dialogs/dialog_internal.h"
#include "dialogs/number_text.h"
#include "dialogs/win_fields.h"

namespace korv {

int field_put_string(int id, double value, std::string_view text, std::string_view format)
{
    HWND w = current_field(id);
    if (w == nullptr)
        return -1;
    FieldRecord* r = field_record_of(w);
    const int reporting = r ? r->change_reporting : 0;
    if (r)
        r->change_reporting = 0;
    const std::string terminated(text);
    if (!SetWindowTextA(w, terminated.c_str())) {
        if (r)
            r->change_reporting = reporting;
        return -1;
    }
    if (r != nullptr) {
        r->value = value;
        double read = 0;
        if (value == 0.0 && number_text_read(text, read))
            r->value = read;
        r->has_value = text.find_first_not_of(' ') != std::string_view::npos ? 1 : 0;
        r->format = std::string(format);
    }
    if (is_text_entry(w))
        SendMessageA(w, EM_SETMODIFY, FALSE, 0);
    redraw_now(w);
    if (r)
        r->change_reporting = reporting;
    return 0;
}

int field_get_string(int id, std::span<char> text)
{
    HWND w = current_field(id);
    if (w == nullptr)
        return -1;
    const int limit = static_cast<int>(std::min<std::size_t>(text.size(), 1u << 20));
    text_assign(text, window_text(w, limit));
    return 0;
}

int field_get_string_length(int id, int& length)
{
    HWND w = current_field(id);
    if (w == nullptr)
        return -1;
    length = GetWindowTextLengthA(w);
    return 0;
}

int field_get_number(int id, double& value)
{
    HWND w = current_field(id);
    if (w == nullptr)
        return -1;
    const std::string text = window_text(w, 254);
    if (text.find_first_not_of(' ') == std::string::npos)
        return -2;
    const FieldRecord* r = field_record_of(w);
    if (is_number_field(w) && r != nullptr && SendMessageA(w, EM_GETMODIFY, 0, 0) == 0) {
        value = r->value;
        return 0;
    }
    value = number_text_value(text);
    return 0;
}

int field_check_number_range(int id, double value)
{
    HWND w = current_field(id);
    const FieldRecord* r = field_record_of(w);
    if (w == nullptr)
        return -1;
    if (r != nullptr && r->has_range() && (value < r->minimum || value > r->maximum))
        return -2;
    return 0;
}

int field_get_format(int id, std::span<char> format)
{
    HWND w = current_field(id);
    NumberKind kind;
    bool spinner;
    const FieldRecord* r = field_record_of(w);
    std::string_view f = default_number_format;
    if (w != nullptr && r != nullptr && !r->format.empty() && number_field_kind(w, kind, spinner) &&
        kind != NumberKind::integer)
        f = r->format;
    text_assign(format, f);
    return 0;
}

int field_set_integer_range(int id, double minimum, double maximum)
{
    int field = id;
    field_set_number_range(field, minimum, maximum, dialog_current_window());
    return field == -1 ? -1 : 0;
}

int field_set_real_spin_steps(int id, double small_step, double large_step)
{
    FieldRecord* r = field_record_of(current_field_of_class(id, atoms().real_spin));
    if (r == nullptr)
        return -1;
    r->small_step = small_step;
    r->large_step = large_step;
    return 0;
}

int field_set_integer_spin_steps(int id, int small_step, int large_step, int base)
{
    FieldRecord* r = field_record_of(current_field_of_class(id, atoms().integer_spin));
    if (r == nullptr)
        return -1;
    r->small_step = small_step;
    r->large_step = large_step == 0 ? small_step : large_step;
    r->step_base = base;
    return 0;
}

int field_set_double_spin_steps(int id, double small_step, double large_step)
{
    FieldRecord* r = field_record_of(current_field_of_class(id, atoms().double_spin));
    if (r == nullptr)
        return -1;
    r->small_step = small_step;
    r->large_step = large_step;
    return 0;
}

} // namespace korv
