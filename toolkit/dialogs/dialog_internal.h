// What the dialog manager's own files share: the state of the dialog
// procedure and the number fields, and the routines one file calls in
// another.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <string_view>
#include <unordered_map>

#include "korvanthide/dialogs_win.h"
#include "dialogs/dialog_operations.h"
#include "dialogs/numfield_logic.h"

namespace korv {

// Hangs a record on a dialog window or a field, or takes it off. The records
// are kept in a table of the dialog manager's own, so that a window of any
// other kind never reads as one; a record leaves the table when it is
// detached, at the latest as its window is destroyed.
void dialog_record_attach(HWND dialog, DialogRecord* record);
DialogRecord* dialog_record_detach(HWND dialog);
void field_record_attach(HWND field, FieldRecord* record);
FieldRecord* field_record_detach(HWND field);

// One for the run, on the interface thread.
struct DialogProcState {
    // Dialog procedure.
    HBRUSH colour_brush = nullptr;       // made for the last field-colour request
    int trackbar_anchor = 0;             // selection anchor while Shift is down
    int restore_on_release = 1;          // push buttons hand the focus back on release
    // Number fields.
    int snapshot_on_focus = 1;           // the next field entered saves its text and value
    std::string saved_text;              // up to 255 characters
    double saved_value = 0;
    HWND pending_button = nullptr;       // invalid field waiting for a push button
    HWND pending_tab = nullptr;          // invalid field blocking a tab change
    int remembered_tab_item = -1;        // tab selection to put back
    int reentry = 0;                     // set while an invalid field is refocused
    UINT validation_sound = MB_ICONEXCLAMATION;
    int grid_blank_default = 0;
    // Dialogs whose windows are being destroyed; validation leaves focus
    // changes toward them alone.
    HWND closing[8] = {};
    // No selection of a trackbar, and unique tree item numbers.
    int trackbar_no_selection = 0;
    int tree_unique_numbers = 1;
    // The device context of a graphics field that is the drawing target.
    HDC field_dc = nullptr;
    HWND field_dc_window = nullptr;
    // Fields of one dialog by identifier, as last found there; every entry
    // is checked before it is used.
    HWND field_cache_dialog = nullptr;
    std::unordered_map<int, HWND> field_cache;
};
DialogProcState& dialog_proc_state();

// ---- Dialog table (codes in arguments, nothing reported) ----
ATOM window_class_atom(HWND window);
// Finds the class atoms and procedures of the standard controls.
void numctl_discover_classes(HWND parent);
void numctl_discover_more_classes(HWND parent);
// Shows every loaded dialog active when it is `active`, else inactive.
void dialog_table_nc_activate(HWND active);
void dialog_load(int& resource, int identifier, int window);
// resource comes back unchanged, or -1 table full, -2 no template, -3 not created.
void dialog_load_resource(int& resource, int identifier, int window, int inside_window);
// mode comes back 0, or -1 mode changed, -2 host hidden, -3 host holds a
// dialog, -4 dialog lives in a window, -5 modal instance not made.
// caller: 0 WDialogShow, 1 the window layer (focus set), 2 (focus left alone).
void dialog_show(int x, int y, int x_in_window, int y_in_window, int& mode, int focus, int caller);
void dialog_select_by_id(int& identifier);
// slot -1: the current one; comes back -1 (lives in a window), -2 (a tab
// page of another dialog), or 0 for a given -1.
void dialog_hide(int& slot);
void dialog_unload(int keep_pages, int slot);
void dialog_destroy_with_pages(HWND dialog, int keep_pages, int slot);
void dialog_parent_window_number(int& number);
void dialog_copy_field_contents(HWND destination, HWND source);
void dialog_centre_position();

// ---- Extras block ----
void field_set_number_range(int& field, double minimum, double maximum, HWND dialog);
void field_tree_from_menu(HWND tree, int menu, int selected);

// ---- Dialog procedure and field subclasses ----
INT_PTR CALLBACK dialog_procedure(HWND dialog, UINT message, WPARAM w, LPARAM l);
INT_PTR dialog_init_fields(HWND dialog, DialogRecord* record);
void dialog_draw_transparent_bitmap(HBITMAP bitmap);
LRESULT CALLBACK field_frame_proc(HWND w, UINT m, WPARAM wp, LPARAM lp);
LRESULT CALLBACK field_button_proc(HWND w, UINT m, WPARAM wp, LPARAM lp);
LRESULT CALLBACK field_trackbar_proc(HWND w, UINT m, WPARAM wp, LPARAM lp);
LRESULT CALLBACK field_tab_proc(HWND w, UINT m, WPARAM wp, LPARAM lp);
LRESULT CALLBACK field_picture_proc(HWND w, UINT m, WPARAM wp, LPARAM lp);
LRESULT CALLBACK field_edit_proc(HWND w, UINT m, WPARAM wp, LPARAM lp);
LRESULT CALLBACK field_tree_proc(HWND w, UINT m, WPARAM wp, LPARAM lp);

// ---- Number fields ----
LRESULT CALLBACK numctl_integer_edit_proc(HWND w, UINT m, WPARAM wp, LPARAM lp);
LRESULT CALLBACK numctl_integer_spin_proc(HWND w, UINT m, WPARAM wp, LPARAM lp);
LRESULT CALLBACK numctl_real_edit_proc(HWND w, UINT m, WPARAM wp, LPARAM lp);
LRESULT CALLBACK numctl_real_spin_proc(HWND w, UINT m, WPARAM wp, LPARAM lp);
LRESULT CALLBACK numctl_double_edit_proc(HWND w, UINT m, WPARAM wp, LPARAM lp);
LRESULT CALLBACK numctl_double_spin_proc(HWND w, UINT m, WPARAM wp, LPARAM lp);
LRESULT CALLBACK numctl_updown_proc(HWND w, UINT m, WPARAM wp, LPARAM lp);
void field_refocus_invalid(HWND target, HWND field, int tab_flag);
void field_press_default_button(HWND field);

// ---- Tab pages, focus, placement ----
void dialog_add_size_grip(HWND dialog);
void dialog_attach_tab_pages(HWND dialog);
void dialog_detach_tab_pages(HWND dialog);
void dialog_focus_first_tab_stop(HWND fallback, HWND dialog, int set_focus);
int field_set_focus(int id, int position);
void dialog_set_title_and_icon(int& icon, int set_title, std::string_view title);
int dialog_has_visible_graphics(HWND dialog);
void dialog_note_active_field(HWND field);
void field_tree_copy_items(HWND target, HTREEITEM target_parent, HWND source, HTREEITEM first);

// Field kinds by class.
bool is_class(HWND window, ATOM atom);
bool is_number_field(HWND window);
bool number_field_kind(HWND window, NumberKind& kind, bool& spinner);
bool is_edit_family(HWND window);
bool is_dialog_window(HWND window);
int button_type(HWND window);  // low four style bits
bool is_push_button(HWND window);

// Texts of windows.
std::string window_text(HWND window, int limit);
void set_window_text(HWND window, std::string_view text);

// Number fields.
LRESULT numctl_spin_step(HWND spinner, LPARAM notification);
bool dialog_closing(HWND window);
void dialog_closing_mark(HWND dialog, bool closing);

// Events from a dialog; nothing is posted from the modal instance.
void dialog_post_push_button(HWND dialog, WPARAM w, LPARAM l);
void dialog_post_field_changed(HWND dialog, WPARAM w, LPARAM extra_word);
void dialog_post_tab_changed(HWND dialog, WPARAM w, LPARAM l);
void dialog_post_sub_window(HWND dialog, int type, WPARAM w, LPARAM l, int field);

// The dialog that holds a field, or the record used for field changes in
// it (the loaded dialog's for windows of the modal instance).
HWND field_dialog(HWND field);
DialogRecord* change_record(HWND dialog);

// The modal instance's set-up and end.
INT_PTR dialog_modal_instance_init(HWND instance);
void dialog_modal_instance_end(HWND instance, HWND receiver, int button);

// Extras block.
void extras_anchor_fields(HWND dialog, HWND reference, int alignment);

// Tab items carry the page they show and a disabled flag.
bool tab_item_page(HWND tab, int index, int& page);
bool tab_item_disabled(HWND tab, int index);
void tab_item_insert(HWND tab, int index, int page, std::string_view caption);
void tab_pages_place(HWND tab);
void field_tree_add_menu_items(HWND tree, HTREEITEM parent, HMENU menu, int selected);

// Replaces the icon a dialog got from its title routine (null: frees it).
void dialog_own_icon_replace(HWND dialog, HICON icon);

// WDialogShow reporting under the given routine name.
void dialog_show_reporting(int x, int y, int focus, int mode, std::string_view routine);

// Field layer helpers used across files.
HWND current_field(int id);
// The field when it is of the class with that atom; otherwise null.
HWND current_field_of_class(int id, ATOM atom);
// Forgets the fields found by identifier (a field came or went).
void field_cache_clear();
void field_select_text(HWND window);
int dialog_rect_overlap(HWND field, const RECT& rect);
void field_set_state_window(HWND field, int state, int redraw_mode);

} // namespace korv
