// The grid control's windows: the frame (class ZOQGRID) with its column
// header and row-heading controls, the cell area (ZOQGRIDCLIENT) and the
// in-place editor over the current cell. The cells themselves live in the
// grid model; the control draws and edits them.
#pragma once

#include "grid/grid_model.h"

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

namespace korv {

struct FieldRecord;

// GM_ private messages of ZOQGRID.
inline constexpr UINT GM_BUILDCOLUMNS = WM_USER + 1;
inline constexpr UINT GM_SETROWHEADINGS = WM_USER + 2;
inline constexpr UINT GM_LAYOUT = WM_USER + 3;
inline constexpr UINT GM_SETSIZE = WM_USER + 4;
inline constexpr UINT GM_SETUPDONE = WM_USER + 5;
inline constexpr UINT GM_HEADERWIDTHS = WM_USER + 6;

inline constexpr LONG grid_style_wants_all_keys = 0x1000;
inline constexpr LONG grid_style_resizable_columns = 0x2000;
inline constexpr LONG grid_style_tab_moves = 0x4000;
inline constexpr LONG grid_style_wraps = 0x8000;

// lParam of GM_BUILDCOLUMNS when the columns are chosen: for each column
// the position of its template control counted from 1 (a field and its
// spinner count as one), and the widths in dialog units of the current
// dialog, or a first width of -1 to keep the template controls' widths.
struct GridColumnChoice {
    const int* positions = nullptr;
    const int* widths = nullptr;
};

// A column's hidden copy of its template control. Its class and style are
// what the in-place editor is made from and what the painting aligns by;
// its field record keeps the column's range, steps and format, and a menu
// column's list is the one every cell of the column picks from. The model
// keeps the same properties for the routines that work without windows.
struct GridColumnControl {
    HWND window = nullptr;
    int width = 0;           // pixels, one grid line included
    int dropped_height = 0;  // menu columns: the list's height
    bool spinner = false;
};
class GridRecord : public GridView {
public:
    explicit GridRecord(HWND frame) : frame(frame) {}
    ~GridRecord() override;

    HWND frame;
    HWND cell_area = nullptr;
    HWND editor = nullptr;
    WNDPROC editor_previous = nullptr;
    HWND header = nullptr;
    std::vector<HWND> row_headers;
    // One per column. A modal instance's grid holds the loaded dialog's
    // controls; only the grid whose cell area is their parent destroys them.
    std::vector<GridColumnControl> templates;
    bool owns(const GridColumnControl& t) const { return t.window && cell_area && GetParent(t.window) == cell_area; }
    std::shared_ptr<GridModel> cells = std::make_shared<GridModel>();
    // The grid whose cells a modal instance's grid shares; the cells report
    // to it again when the instance goes.
    HWND shared_with = nullptr;

    int set_up = 0;
    int columns_to_build = 0; // the column count GM_SETSIZE gave
    int horizontal_limit = 0;
    int visible_rows = 1;
    int row_places = 0;       // the rows the cell area has room for, the last partly
    int creation_client_height = 0;
    int frame_height = 0;     // window height less client height at creation
    int row_height = 20;
    int first_visible_column = 0;
    int last_visible_column = 0;
    int row_heading_width = 0;
    int header_height = 0;
    int template_dialog = 0;
    int scroll_divisor = 1;
    int pending_target = 0;
    int wheel_remainder = 0;
    int anchor_column = -1, anchor_row = -1;
    int inert = 0;
    HFONT font = nullptr;
    HWND open_drop_down = nullptr;
    HWND menu_target = nullptr; // where the last context menu was opened
    int editor_loading = 0;     // the grid itself is setting the editor's text

    GridModel& model() { return *cells; }
    LONG style() const { return GetWindowLongA(frame, GWL_STYLE); }
    int control_id() const { return GetDlgCtrlID(frame); }

    // GridView
    void editor_store() override;
    void cell_changed(int column, int row) override;
    void cells_changed() override;
    void current_cell_moved() override;
    void column_heading_changed(int item) override;
    void row_heading_changed(int row) override;
    void column_changed(int column) override;
    void range_changed(int column) override;
    bool editor_snapshot(int column, int row, GridEditorSnapshot& out) const override;
    void select_block(const GridBlock& block) override;
    void goto_cell(int column, int row, int caret) override;
    void rows_in_use_apply(int id, int count) override;
    bool own_colours(std::int32_t& foreground, std::int32_t& background) const override;
    int row_heading_pixels() const override { return row_headers.empty() ? 0 : row_heading_width; }
    void update_now() override;

    // Geometry of the cell area.
    int column_x(int column) const;          // left edge of a column, from the first visible one
    RECT cell_rect(int column, int row) const;
    bool hit_cell(int x, int y, int& column, int& row) const;
};

GridRecord* grid_control_of(HWND frame);

// Frame (grid_frame_win.cpp).
LRESULT CALLBACK grid_frame_proc(HWND window, UINT message, WPARAM w, LPARAM l);
void grid_layout(GridRecord& g);
void grid_scroll_to_row(GridRecord& g, int row);
void grid_scroll_into_view(GridRecord& g);
void grid_fit_rows(GridRecord& g);
void grid_row_headings_refresh(GridRecord& g);
// Applies one [Grids] line (the text after the field identifier); consumed
// receives the characters used. A grid that cannot be built destroys itself.
void grid_parse_extras_entry(HWND grid, std::string_view text, std::size_t& consumed);
// Copies a grid between a loaded dialog and its modal instance, both ways.
void grid_copy_from_instance(HWND destination, HWND source);
// The hidden template dialog's procedure; it answers 0 to everything.
INT_PTR CALLBACK grid_template_dialog_proc(HWND dialog, UINT message, WPARAM w, LPARAM l);

// Set-up (grid_setup_win.cpp): the handlers of GM_BUILDCOLUMNS and
// GM_SETROWHEADINGS (lParam the address of a std::string_view), the
// column controls' life, and the model's column properties copied into them.
// Creates the cell area when the grid has none; false when that fails.
bool grid_cell_area_make(GridRecord& g);
LRESULT grid_on_build_columns(GridRecord& g, HWND dialog, const GridColumnChoice* choice);
LRESULT grid_on_set_row_headings(GridRecord& g, int width, const std::string_view* text);
HWND grid_column_control_copy(GridRecord& g, HWND from, const GridColumn& col, int width, int dropped_height);
void grid_column_controls_destroy(GridRecord& g);
void grid_column_control_sync(GridRecord& g, int column);
// The grid that shows the cells of g (a modal instance's) takes g's new
// columns: the same controls, header items and widths.
void grid_share_columns(GridRecord& shown, const GridRecord& g);
// The grid window of a field identifier in the current dialog, or of the
// current grid-editor window for 0; null when there is none.
HWND grid_window_of_id(int id);

// Subclass procedure of the column header and the row-heading controls
// (grid_frame_win.cpp); the previous procedure is kept in their user data.
LRESULT CALLBACK grid_header_proc(HWND window, UINT message, WPARAM w, LPARAM l);
// The rows in use become count (a back end's work, grid_frame_win.cpp); id
// as the grid was found.
void grid_rows_in_use_apply(HWND grid, int id, int count);
// The packed cell of a move of the current cell becomes the last
// cell-change word: the grid editor's (id 0), or the current dialog's when
// its current field is the grid (grid_setup_win.cpp).
void grid_record_cell_change(int id, HWND frame, int packed);
// Identifier 0: the grid editor's window fits its grid again.
void grid_refit_editor_window(HWND frame);

// Cell area (grid_cell_area_win.cpp).
LRESULT CALLBACK grid_client_proc(HWND window, UINT message, WPARAM w, LPARAM l);
void grid_select_range(GridRecord& g, int first_row, int last_row, int first_column, int last_column);
void grid_clear_selection(GridRecord& g);
// The visible part of the selected block in cell-area pixels; false when
// none of it is visible.
bool grid_selection_rect(const GridRecord& g, RECT& out);
// Invalidates the visible part of the selected block.
void grid_invalidate_selection(GridRecord& g);
// Invalidates one cell when it is on screen and, with update, paints it.
void grid_repaint_cell(GridRecord& g, int column, int row, int update);
// The source drawn into the target with every button-face pixel on the
// highlight colour; scratch is a bitmap of the same size.
void grid_draw_bitmap_transparent(HBITMAP source, HBITMAP target, HBITMAP scratch);
void grid_post_block_event(GridRecord& g, int source, const GridBlock& block, bool always);
void grid_send_cell_change(GridRecord& g);
// Set while a click is handed on to the editor, whose focus then reports
// no cell change of its own.
bool& grid_click_forwarding();
// A move with the left button held: the block spans the current cell and
// the cell under the point (in `from`'s co-ordinates).
void grid_drag_to(GridRecord& g, HWND from, LPARAM l);

// In-place editor (grid_cell_editor_win.cpp).
void grid_cell_editor_open(GridRecord& g);
void grid_cell_editor_load(GridRecord& g);
void grid_cell_editor_commit(GridRecord& g);
// A number editor's content into its cell: a text the user changed is
// read, an untouched editor gives its field record's value.
void grid_commit_number(GridRecord& g, GridColumn& col, int row);
void grid_cell_editor_close(GridRecord& g, bool store);
// Cell types 0-3 read-only or editable (with the spinner), check boxes
// toggling or not; a read-only grid's editors stay read-only.
void grid_cell_editor_set_readonly(HWND editor, int type, int read_only, int update);
void grid_move_to_cell(GridRecord& g, int column, int row, bool focus, bool extend);
// Sends the scroll message to the grid, then extends the selected block
// to the new current cell when extend is set.
void grid_scroll_extend(HWND grid, UINT message, WPARAM w, LPARAM l, bool extend);
bool grid_focus_inside(const GridRecord& g);
// Sets the editor's text without taking it for a change the user made.
void grid_editor_text_set(GridRecord& g, const char* text);
LRESULT CALLBACK grid_cell_editor_proc(HWND window, UINT message, WPARAM w, LPARAM l);
// A subclass procedure for an up-down control: a press with Shift held
// goes to the control's buddy. No routine installs it.
LRESULT CALLBACK grid_updown_shift_click_proc(HWND window, UINT message, WPARAM w, LPARAM l);

// A grid of its own with a copy of another grid's cells, columns and
// headings (the grid editor's).
void grid_clone_from(HWND destination, HWND source);

// Clipboard (grid_clipboard_win.cpp).
bool grid_copy_selection(GridRecord& g);
void grid_paste(GridRecord& g);
void grid_clear_selected_cells(GridRecord& g);
std::string grid_clipboard_text();

} // namespace korv
