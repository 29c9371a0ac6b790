// The converter's state and what it does with each toolkit event: a field
// change stores the field's value into the colour and refreshes the dialog,
// the push buttons copy the colour into the comparison preview, show the
// help, take a colour from the colour-choice dialog or end the program.
#pragma once

#include <array>
#include <optional>
#include <vector>

#include "colour_refresh.h"
#include "converter_fields.h"
#include "converter_toolkit.h"
#include "dialog_cache.h"
#include "korvanthide/events.h"

// Push buttons of the main dialog.
constexpr int kEndButton = 1;     // "Ende", the default button (Enter)
constexpr int kCancelButton = 2;  // Esc and the close box
constexpr int kColourChoiceButton = 1055;  // "Farbwahl"
constexpr int kInfoButton = 1077;          // "Info"
constexpr int kCompareButton = 1079;       // "übernehmen"

// Red, green and blue 0..255 given to and taken from the colour-choice
// dialog.
using ChosenRGB = std::array<int, 3>;
// The window number of the last Info window opened.
using InfoWindow = int;
// The hexadecimal code as read from its field: six characters,
// blank-padded; places typed beyond the sixth are not read.
using HexText = std::array<char, 6>;

class Converter {
public:
    explicit Converter(ConverterToolkit& toolkit) : toolkit_(toolkit), dialog_(toolkit) {}

    // Prepares the shown dialog (spinner steps, hue trackbars, range menus,
    // field visibility) and shows white. Field-changed events must still be
    // off: nothing written here is a change by the user.
    void start();

    // Acts on one event of the event wait; false when the program ends.
    bool handle_event(int type, const EventRecord& record);

    // Converts from `model` and makes the whole dialog show the colour;
    // flags bit 0 also fills the comparison preview.
    void cc_convert_and_refresh(int model, int name_index, int flags);

    const ConverterColourState& state() const { return state_; }
    const DialogView& shown() const { return workspace_.shown; }
    int info_window() const { return info_window_; }

private:
    void field_changed(int left, int entered);
    bool push_button(int button);
    bool end_refused();
    void read_hex_code();
    void read_typed_number(int field);
    void apply(int field);
    void keep_moved_trackbars();

    ConverterToolkit& toolkit_;
    DialogCache dialog_;
    ConverterColourState state_;
    RefreshWorkspace workspace_;
    ChosenRGB chosen_rgb_{};
    InfoWindow info_window_ = 0;

    // A trackbar the user moved, with the component value its position gave:
    // while the component keeps that value the trackbar keeps the position,
    // though 100 x (p x 0.01) may truncate to p - 1.
    struct MovedTrackbar {
        int field;
        int position;
        float value;
    };
    std::vector<MovedTrackbar> moved_;
};
