// Toolkit events: the record the event wait hands out, the enable flags,
// the one event store with its pending and deferred records, and what a
// window or dialog procedure hands over when it posts an event.
#pragma once

#include <array>

// Event types as the program sees them. A type above 100 is the same event
// raised in a dialog's graphics field; it is enabled by, and handed out as,
// the type minus 100.
namespace korv::event {
inline constexpr int key = 1;
inline constexpr int command = 2;
inline constexpr int push_button = 3;
inline constexpr int mouse_down = 4;
inline constexpr int mouse_up = 5;
inline constexpr int mouse_move = 6;
inline constexpr int expose = 7;
inline constexpr int resize = 8;
inline constexpr int close_request = 9;
inline constexpr int field_changed = 10;
inline constexpr int tab_changed = 11;
inline constexpr int nonclient_click = 12;
inline constexpr int timer = 13;
inline constexpr int command_line = 14;
inline constexpr int viewer_scrolled = 15;
inline constexpr int double_click = 16;
inline constexpr int field_offset = 100;  // graphics-field variant: type + 100

// Source kinds (slot 4).
inline constexpr int source_window = 0;
inline constexpr int source_field = 1;
inline constexpr int source_viewer = 2;
} // namespace korv::event

// The command identifiers that the text editor's and the grid editor's
// built-in menus, toolbars and accelerators share, as their command events
// carry them in slot 2; each editor names its own commands beside these.
namespace korv::shared_command {
inline constexpr int file_menu = 32100;
inline constexpr int new_file = 32101;
inline constexpr int open = 32102;
inline constexpr int save = 32103;
inline constexpr int save_as = 32104;
inline constexpr int print = 32105;
inline constexpr int print_selection = 32106;
inline constexpr int edit_menu = 32120;
inline constexpr int cut = 32122;
inline constexpr int copy = 32123;
inline constexpr int paste = 32124;
inline constexpr int clear = 32125;
inline constexpr int select_all = 32126;
inline constexpr int search_menu = 32140;
inline constexpr int find = 32141;
inline constexpr int find_next = 32142;
} // namespace korv::shared_command

// Sixteen integers beside the event type. Slots are numbered 1..16 as the
// program documents them: 1 window (or dialog identifier), 2 and 3 values,
// 4 source kind, 5 field, 6 and 7 window units, 8 and 9 expose size in user
// units, 10 and 11 user co-ordinates, 12 message time, 13 and 14 pixel
// position, 15 and 16 pixel size of an expose or resize.
struct EventRecord {
    std::array<int, 16> values{};

    int& slot(int n) { return values.at(static_cast<std::size_t>(n - 1)); }
    int slot(int n) const { return values.at(static_cast<std::size_t>(n - 1)); }

    // Slots by what they hold. First and second mean what the event type
    // says; for a field change the pixel position slots hold the extra words
    // of the previous and the current notification instead.
    int& window() { return slot(1); }
    int window() const { return slot(1); }
    int& first() { return slot(2); }
    int first() const { return slot(2); }
    int& second() { return slot(3); }
    int second() const { return slot(3); }
    int& source() { return slot(4); }
    int source() const { return slot(4); }
    int& field() { return slot(5); }
    int field() const { return slot(5); }
    int& unit_x() { return slot(6); }
    int unit_x() const { return slot(6); }
    int& unit_y() { return slot(7); }
    int unit_y() const { return slot(7); }
    int& user_width() { return slot(8); }
    int user_width() const { return slot(8); }
    int& user_height() { return slot(9); }
    int user_height() const { return slot(9); }
    int& user_x() { return slot(10); }
    int user_x() const { return slot(10); }
    int& user_y() { return slot(11); }
    int user_y() const { return slot(11); }
    int& time() { return slot(12); }
    int time() const { return slot(12); }
    int& pixel_x() { return slot(13); }
    int pixel_x() const { return slot(13); }
    int& pixel_y() { return slot(14); }
    int pixel_y() const { return slot(14); }
    int& previous_extra_word() { return slot(13); }
    int previous_extra_word() const { return slot(13); }
    int& extra_word() { return slot(14); }
    int extra_word() const { return slot(14); }
    int& pixel_width() { return slot(15); }
    int pixel_width() const { return slot(15); }
    int& pixel_height() { return slot(16); }
    int pixel_height() const { return slot(16); }
};

// One flag per event type 1..16; 0 means the type is never posted.
struct EventEnableTable {
    std::array<int, 16> flags{};

    // Types 1-4, 7-9, 13 and 14 on, the rest off.
    static EventEnableTable defaults();
};

// The single event store. `waiting` is 1 while the event wait pumps and
// nothing has been posted yet; a post clears it and so ends the pump.
struct PostedEvent {
    int type = 0;
    int window = 0;
    int first = 0;
    int second = 0;
    int source = 0;
    int field = 0;
    int x = 0;
    int y = 0;
    int time = 0;
    int waiting = 0;

    // An event sits in the store and will be handed out.
    bool posted() const { return type != 0 && waiting == 0; }
};

// A kept-back event: records 0..50 hold a window's expose or resize that
// happened while no event could be posted; 51 a deferred field change;
// 52 a deferred graphics-field expose.
struct PendingRedrawRecord {
    int type = 0;
    int first = 0;
    int second = 0;
    int source = 0;
    int field = 0;
    int x = 0;
    int y = 0;
    int window = 0;
    int time = 0;
};

namespace korv {

inline constexpr int pending_field_changed = 51;
inline constexpr int pending_field_expose = 52;
inline constexpr int pending_records = 53;

// Everything the event layer keeps, in one place.
struct EventState {
    EventEnableTable enable;
    PostedEvent store;
    std::array<PendingRedrawRecord, pending_records> pending{};
    int in_pump = 0;             // 1 while the event wait runs its loop
    int first_field_change = 0;  // the next field change is the first of this wait
    int dispatching = 0;         // the pump itself is dispatching a paint or size message
    int caret_filter = 1;        // while set, the system's caret blink is kept from windows
};

EventState& event_state();

// One post, with the values already taken from the Windows message and the
// window and dialog records by the poster. The fields mirror what the
// store's table asks for each type; unused ones are ignored.
struct EventPost {
    int type = 0;        // 1..16 or 101..116
    int window = -1;     // window number, or the dialog's identifier
    int first = -1;
    int second = -1;
    int source = -1;
    int field = -1;
    int x = -1;
    int y = -1;
    int time = 0;
    bool visible = true;     // resize: the window or field is visible
    bool minimised = false;  // resize: to the minimised state
};
// For a field change (10), x is the word the dialog kept from its previous
// notification and y the new notification's word; the dialog keeps y
// afterwards whatever the outcome.

// What became of a post, for the Win32 side's follow-up work.
enum class PostOutcome {
    ignored,        // type disabled or unknown, or dropped by the rules
    stored,         // the store holds it and the wait will return it
    deferred,       // kept in record 51 (field change)
    hidden_resize,  // resize of an invisible window or field: not posted
};

// Ctrl 1, Shift 2, left 4, middle 8, right 16, from a mouse message's key state.
int win_modifier_bits(int key_state);

// Copy of the enable flag of type 1..16; 0 for any other type.
int win_event_enable_get(int type);

// Restores the enable table to its defaults (root window opened or closed).
void event_enable_reset();

} // namespace korv

// Public routines.
void WEventTypeEnable(int type, int flag);
void WEventWait(int& type, EventRecord& record);
