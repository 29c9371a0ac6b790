// A stand-in for the toolkit under the converter: it records every call as
// a line of text and keeps what each field holds, as the dialog would, so
// that reads give back what was written or what a test typed.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "converter_toolkit.h"

class RecordingToolkit : public ConverterToolkit {
public:
    void put_trackbar(int field, int position, int selection_start, int selection_end) override;
    void put_integer(int field, int value) override;
    void put_real(int field, float value) override;
    void put_string(int field, std::string_view text) override;
    void put_menu(int field, std::span<const std::string_view> items, int selected) override;
    void select_menu_item(int field, int selected) override;
    void field_state(int field, int state) override;
    void spinner_step(int field, float small_step, float large_step) override;
    void show_preview(int field, float r, float g, float b, int width, int height) override;

    int get_trackbar(int field) override;
    int get_integer(int field) override;
    float get_real(int field) override;
    int get_menu(int field) override;
    void get_string(int field, std::span<char> text) override;

    int focused_field() override { return focus; }
    void refuse_field(int field) override;
    int select_colour(std::array<int, 3>& rgb) override;
    int show_info() override;
    void close_window(int window) override;

    // What the user does: typing into a field replaces its text (a number
    // field reads its value from it), moving a trackbar or choosing an item.
    void type(int field, std::string_view text);
    void move_trackbar(int field, int position) { fields[field].position = position; }
    void choose_item(int field, int item) { fields[field].selected = item; }

    struct Field {
        int position = 0;
        double value = 0.0;
        std::string text;
        std::vector<std::string> items;
        int selected = 0;
        int state = 1;
        std::int32_t preview = -1;
    };
    std::map<int, Field> fields;
    int focus = 0;

    std::vector<std::string> calls;  // "put_integer 1016 255", ...
    int writes() const;              // calls that change a field

    // The colour-choice dialog's answer and colour; the Info windows opened.
    int colour_answer = 0;
    std::array<int, 3> colour_chosen{};
    std::array<int, 3> colour_started{};
    int next_window = 1;
    std::vector<int> closed_windows;
};
