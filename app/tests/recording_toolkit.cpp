#include "recording_toolkit.h"

#include <cstdlib>
#include <sstream>

#include "dialog_cache.h"
#include "korvanthide/conversions.h"
#include "korvanthide/fixed_text.h"

namespace {

template <typename... Parts>
std::string line(const Parts&... parts)
{
    std::ostringstream out;
    ((out << parts << ' '), ...);
    std::string s = out.str();
    s.pop_back();
    return s;
}

std::string trimmed(std::string text)
{
    text.resize(korv::text_trimmed(text).size());
    return text;
}

} // namespace

void RecordingToolkit::put_trackbar(int field, int position, int selection_start, int selection_end)
{
    calls.push_back(line("put_trackbar", field, position, selection_start, selection_end));
    fields[field].position = position;
}

void RecordingToolkit::put_integer(int field, int value)
{
    calls.push_back(line("put_integer", field, value));
    std::string text(12, ' ');
    korv::yyint2st(value, text);
    fields[field].text = trimmed(text);
    fields[field].value = value;
}

void RecordingToolkit::put_real(int field, float value)
{
    calls.push_back(line("put_real", field, value));
    std::string text(100, ' ');
    korv::yyrea2st(value, text, korv::number_field_format);
    fields[field].text = trimmed(text);
    fields[field].value = value;
}

void RecordingToolkit::put_string(int field, std::string_view text)
{
    std::string quoted = "\"";
    quoted += text;
    quoted += '"';
    calls.push_back(line("put_string", field, quoted));
    fields[field].text = trimmed(std::string(text));
}

void RecordingToolkit::put_menu(int field, std::span<const std::string_view> items, int selected)
{
    calls.push_back(line("put_menu", field, items.size(), selected));
    Field& f = fields[field];
    f.items.clear();
    for (std::string_view item : items) {
        f.items.push_back(trimmed(std::string(item)));
    }
    f.selected = selected;
    f.text = selected >= 1 && selected <= static_cast<int>(f.items.size()) ? f.items[selected - 1] : "";
}

void RecordingToolkit::select_menu_item(int field, int selected)
{
    calls.push_back(line("select_menu_item", field, selected));
    Field& f = fields[field];
    f.selected = selected;
    f.text = selected >= 1 && selected <= static_cast<int>(f.items.size()) ? f.items[selected - 1] : "";
}

void RecordingToolkit::field_state(int field, int state)
{
    calls.push_back(line("field_state", field, state));
    fields[field].state = state;
}

void RecordingToolkit::spinner_step(int field, float small_step, float large_step)
{
    calls.push_back(line("spinner_step", field, small_step, large_step));
}

void RecordingToolkit::show_preview(int field, float r, float g, float b, int width, int height)
{
    calls.push_back(line("show_preview", field, r, g, b, width, height));
    fields[field].preview = cc_preview_pixel(r, g, b);
}

int RecordingToolkit::get_trackbar(int field)
{
    return fields[field].position;
}

int RecordingToolkit::get_integer(int field)
{
    return static_cast<int>(fields[field].value);
}

float RecordingToolkit::get_real(int field)
{
    return static_cast<float>(fields[field].value);
}

int RecordingToolkit::get_menu(int field)
{
    return fields[field].selected;
}

void RecordingToolkit::get_string(int field, std::span<char> text)
{
    korv::text_assign(text, fields[field].text);
}

void RecordingToolkit::refuse_field(int field)
{
    calls.push_back(line("refuse_field", field));
    focus = field;
}

int RecordingToolkit::select_colour(std::array<int, 3>& rgb)
{
    calls.push_back("select_colour");
    colour_started = rgb;
    if (colour_answer == 1) {
        rgb = colour_chosen;
    }
    return colour_answer;
}

int RecordingToolkit::show_info()
{
    calls.push_back("show_info");
    return next_window <= 50 ? next_window++ : -1;
}

void RecordingToolkit::close_window(int window)
{
    calls.push_back(line("close_window", window));
    closed_windows.push_back(window);
}

void RecordingToolkit::type(int field, std::string_view text)
{
    Field& f = fields[field];
    f.text = std::string(text);
    f.value = std::strtod(f.text.c_str(), nullptr);
}

int RecordingToolkit::writes() const
{
    int n = 0;
    for (const std::string& c : calls) {
        if (c.rfind("put_", 0) == 0 || c.rfind("select_menu_item", 0) == 0 || c.rfind("field_state", 0) == 0 ||
            c.rfind("show_preview", 0) == 0) {
            ++n;
        }
    }
    return n;
}
