// Leaves out the dialog writes that change nothing the user sees. Every
// window operation costs about a millisecond under Wine on an X display, and
// a refresh asks for some hundred of them; most write what a field already
// shows. The cache remembers what each field holds and passes on only writes
// that change it. Lists keep their items and only move the selection; a
// hidden field is written when it is shown, just before.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "converter_toolkit.h"

class DialogCache final : public ConverterToolkit {
public:
    explicit DialogCache(ConverterToolkit& toolkit) : toolkit_(toolkit) {}

    void put_trackbar(int field, int position, int selection_start, int selection_end) override;
    void put_integer(int field, int value) override;
    void put_real(int field, float value) override;
    void put_string(int field, std::string_view text) override;
    void put_menu(int field, std::span<const std::string_view> items, int selected) override;
    void select_menu_item(int field, int selected) override;
    void field_state(int field, int state) override;
    void spinner_step(int field, float small_step, float large_step) override;
    void show_preview(int field, float r, float g, float b, int width, int height) override;

    int get_trackbar(int field) override { return toolkit_.get_trackbar(field); }
    int get_integer(int field) override { return toolkit_.get_integer(field); }
    float get_real(int field) override { return toolkit_.get_real(field); }
    int get_menu(int field) override { return toolkit_.get_menu(field); }
    void get_string(int field, std::span<char> text) override { toolkit_.get_string(field, text); }
    int focused_field() override { return toolkit_.focused_field(); }
    void refuse_field(int field) override { toolkit_.refuse_field(field); }
    int select_colour(std::array<int, 3>& rgb) override { return toolkit_.select_colour(rgb); }
    int show_info() override { return toolkit_.show_info(); }
    void close_window(int window) override { toolkit_.close_window(window); }

    // Shows the fields whose showing was held back, each written first with
    // what was put into it while it was hidden. Call after each refresh.
    void flush();

    // The user may have changed the field: its next write goes through.
    void forget(int field);
    // The user moved a trackbar to this position.
    void note_trackbar(int field, int position);

    // The number last written into a field the user sees, as it was put:
    // nothing when unknown.
    struct WrittenNumber {
        bool integer;
        int integer_value;
        float real_value;
    };
    std::optional<WrittenNumber> written_number(int field) const;
    // The text last written into a field the user sees: nothing when unknown.
    std::optional<std::string> written_text(int field) const;

private:
    enum class Kind { none, trackbar, integer, real, text };
    struct Content {
        Kind kind = Kind::none;
        int a = 0, b = 0, c = 0;
        float real = 0.0f;
        std::string text;
        bool operator==(const Content&) const = default;
    };
    struct Field {
        Content shown;    // what the control holds (kind none: unknown)
        Content wanted;   // what to write once it is shown
        int state = 0;    // last state set; 0 unknown (as the template has it)
        bool show_held = false;
        int held_state = 0;  // the state to set when the held showing happens
    };
    struct Menu {
        std::vector<std::string> items;
        int selected = -1;  // -1 unknown
    };
    struct Preview {
        std::int32_t pixel;
        int width, height;
    };

    void put(int field, const Content& content);
    void write(int field, const Content& content);

    ConverterToolkit& toolkit_;
    std::unordered_map<int, Field> fields_;
    std::unordered_map<int, Menu> menus_;
    std::unordered_map<int, Preview> previews_;
    std::vector<int> held_;  // fields whose showing waits for flush, in order
};

// The colour of a preview pixel: each component x 256 truncated and limited
// to 0..255, packed r + 256 g + 65536 b.
std::int32_t cc_preview_pixel(float r, float g, float b);
