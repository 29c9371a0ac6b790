// The toolkit as the converter uses it: the field routines of its one
// dialog, the colour-choice dialog and the Info windows. The program passes
// the real toolkit; tests pass a recording or simulating stand-in, so that
// the converter's event handling and refresh run without Windows.
#pragma once

#include <array>
#include <span>
#include <string>
#include <string_view>

class ConverterToolkit {
public:
    virtual ~ConverterToolkit() = default;

    // Writes into fields of the current dialog.
    virtual void put_trackbar(int field, int position, int selection_start, int selection_end) = 0;
    virtual void put_integer(int field, int value) = 0;
    virtual void put_real(int field, float value) = 0;
    virtual void put_string(int field, std::string_view text) = 0;
    // Fills a list with the items (trailing blanks cut) and selects item
    // `selected` (from 1).
    virtual void put_menu(int field, std::span<const std::string_view> items, int selected) = 0;
    // Selects item `selected` of a list whose items are already in place.
    virtual void select_menu_item(int field, int selected) = 0;
    // 1 shown, 3 hidden.
    virtual void field_state(int field, int state) = 0;
    virtual void spinner_step(int field, float small_step, float large_step) = 0;
    // Fills a picture field with one colour (components 0..1).
    virtual void show_preview(int field, float r, float g, float b, int width, int height) = 0;

    // Reads from fields of the current dialog.
    virtual int get_trackbar(int field) = 0;
    virtual int get_integer(int field) = 0;
    virtual float get_real(int field) = 0;
    virtual int get_menu(int field) = 0;
    // The field's text cut or padded with blanks to the length of `text`.
    virtual void get_string(int field, std::span<char> text) = 0;

    // The field of the dialog that has the focus, 0 when none.
    virtual int focused_field() = 0;
    // Refuses what the field holds: the validation sound, and the focus back
    // in the field with its whole text selected.
    virtual void refuse_field(int field) = 0;

    // The system's colour-choice dialog started at rgb (0..255 each): the
    // answer (1 OK) and, on OK, the colour chosen in rgb.
    virtual int select_colour(std::array<int, 3>& rgb) = 0;
    // Opens a window showing the help file: its number, -1 when none opened.
    virtual int show_info() = 0;
    virtual void close_window(int window) = 0;
};
