// The dialog manager's records and the routines that the window layer, the
// graphics layer, the editor and the grid call. What only the dialog
// manager's own files share is in toolkit/dialogs/dialog_internal.h.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "korvanthide/dialogs.h"

namespace korv {

// Kept with every dialog window from creation to destruction. The modal
// instance carries a copy of its loaded dialog's.
struct DialogRecord {
    std::int32_t identifier = 0;       // the number programs select the dialog by
    std::int32_t shown = 0;
    std::int32_t current_field = 0;
    std::int32_t previous_field = 0;   // after a modal dialog: its exit field
    std::int32_t tab_page_entered = 0;
    std::int32_t tab_page_left = 0;
    std::int32_t mode = 0;             // 1 modal, 2 modeless, 3 semi-modeless
    HWND owner = nullptr;
    HWND activation_owner = nullptr;
    // Extra word of the last field-changed notification, passed with the
    // next field-changed event; the packed first grid cell at loading.
    LPARAM last_extra_word = 262145;
    std::int32_t event_field = 0;      // graphics field of the last sub-window event
    std::int32_t graphics_dialog = 0;  // the client area was made a drawing target
    std::int32_t mouse_button = 0;     // 0 move, 1 left, 2 middle, 3 right
    std::int32_t resize_flag = 0;
    HWND host_window = nullptr;        // frame of the toolkit window it lives in
    HWND active_field = nullptr;
    HWND reference_field = nullptr;    // not null: resizable, with a size grip
    std::int32_t minimum_width = 0;
    std::int32_t minimum_height = 0;
    std::int32_t exit_button = 0;
    std::int32_t resource = 0;         // the template it was made from
};

// Kept with every field of a dialog.
struct FieldRecord {
    double value = 0;
    double minimum = 1000;             // a minimum above the maximum: no range
    double maximum = -1000;
    double small_step = 0;
    double large_step = 0;
    std::int32_t step_base = 0;        // integer spinners snap to base + k * step
    std::int32_t has_value = 0;
    HWND updown_partner = nullptr;
    WNDPROC chained_procedure = nullptr;
    std::int32_t graphics_field = 0;
    std::int32_t foreground = -1;      // RGB value, -1 the system colour
    std::int32_t background = -1;
    std::int32_t tab_flag = 0;         // number fields: leaving by the Tab key
    std::int32_t maximum_length = 0;
    std::int32_t state = 0;            // WDialogFieldState code
    std::vector<int> tab_stops;
    std::string format;                // display format of a number field; empty: none
    std::int32_t change_reporting = 0;
    std::int32_t blank_allowed = 0;
    std::int32_t right_margin = 0;
    std::int32_t bottom_margin = 0;
    std::int32_t anchor_flags = 0;     // 1 left, 2 right, 4 top, 8 bottom edge moves
    std::int32_t field_flags = 0;      // [Flags]; 1: no default button on double click
    HCURSOR cursor = nullptr;
    std::int32_t cursor_shape = 0;

    bool has_range() const { return !(minimum > maximum); }
};

struct DialogSnapshot {
    HBITMAP bitmap = nullptr;
    int nesting = 0;
};

// The loaded dialogs, one table for the process.
struct DialogTable {
    static constexpr int capacity = 100;
    // Slot 0: the running modal instance; 1..loaded: loaded dialogs in
    // loading order, without gaps.
    std::array<HWND, capacity + 1> windows{};
    int loaded = 0;
    int current_slot = 0;
    HWND semi_modeless_dialog = nullptr;
    int semi_modeless_count = 0;
    // While set, the dialog procedure records and posts nothing.
    int creating = 0;
    // The show request, read by a modal instance at its creation.
    int show_focus = 0;
    int show_x = 0;
    int show_y = 0;
    std::array<DialogSnapshot, 51> window_snapshots{};
    std::array<DialogSnapshot, capacity + 1> dialog_snapshots{};
    int snapshots_taken = 0;
    // The record of the dialog being created, until its window owns it.
    DialogRecord* loading_record = nullptr;
    // Identifier of the last modal dialog that ended.
    int last_modal_identifier = 0;
};
DialogTable& dialog_table();

// Class atoms by which the dialog manager tells fields apart, and the class
// procedures of the classes it subclasses.
struct ControlClassAtoms {
    ATOM button = 0, static_text = 0, trackbar = 0, treeview = 0, tab = 0;
    WNDPROC button_proc = nullptr, static_proc = nullptr, trackbar_proc = nullptr,
            treeview_proc = nullptr, tab_proc = nullptr;
    ATOM dialog = 0, listbox = 0, combobox = 0, progress = 0, updown = 0, header = 0,
         scrollbar = 0;
    ATOM edit = 0;
    WNDPROC edit_proc = nullptr;
    WNDPROC updown_proc = nullptr;     // stored when the first spinner makes its partner
    ATOM integer_edit = 0, integer_spin = 0, real_edit = 0, real_spin = 0, double_edit = 0,
         double_spin = 0;
    ATOM korvanthide = 0, darivurov = 0, zuvedazazi = 0;
};
ControlClassAtoms& control_class_atoms();

// The records hung on a dialog window and on a field; null for a window
// that carries none. Only the dialog manager hangs and takes them off
// (dialog_internal.h).
DialogRecord* dialog_record_of(HWND dialog);
FieldRecord* field_record_of(HWND field);

// The window of the current dialog, or null.
HWND dialog_current_window();

// ---- What the window layer calls ----
// Registers the six number-field classes (before any dialog is loaded).
void numctl_register_classes();
// The root window is opening: class atoms, the snapshot-on-focus flag set,
// the colour brush cleared.
void dialog_root_opened();
// Applies the extras block of a probe dialog (slot -1) and tells whether its
// [Dialog] line names a resize reference field.
bool dialog_extras_anchor(HWND probe, int identifier);
// Loads dialog `identifier` into toolkit window `window` (its frame as host),
// makes it current and shows it modeless when `show`; null when not loaded.
HWND dialog_embed(int identifier, int window, bool show);
// Hides and unloads a dialog embedded in a window that closes.
void dialog_embedded_close(HWND dialog);
// Shows a dialog that lives in a window as the current dialog for the
// call; the dialog that was current stays current.
void dialog_embedded_show(HWND dialog);
// The root window closes: every dialog destroyed, the state reset.
void dialog_root_closed();
// The toolkit window a dialog lives in (-1 none) and its resize flag.
bool dialog_host(HWND dialog, int& window, int& dialog_line_flag);
// Slot of a dialog by identifier (0 the modal instance); -1 when none.
int dialog_index_by_id(int identifier);
int dialog_has_size_grip(HWND dialog);

// ---- What the editor, the grid and the graphics layer call ----
HWND dialog_owner_window();
int dialog_is_modal_instance(HWND window);
// Applies a dialog's extras block; slot -1 for a dialog outside the table.
void dialog_parse_extras(HWND dialog, int resource, int slot);
// 1 when the field is invalid and has the focus back; 0 valid, not
// checked, or refusal deferred to a push button. strict 1: the grid's check.
int numctl_validate(HWND field, HWND target, int strict);
// Around a blocking dialog or a modal editor.
void dialog_disable_other_windows(HWND kept, int with_windows);
void dialog_enable_other_windows(HWND kept, int with_windows);
void dialog_window_snapshots(int mode, int excepted, int& out);
// Makes field `id` of the current dialog (0: the dialog itself) the drawing
// target and gives its client size; -1 when it cannot be.
int dialog_field_drawing_target(int id, int& width, int& height);

} // namespace korv
