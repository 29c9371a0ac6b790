// The grid's cells, kept apart from its windows: typed columns of values
// with one flag byte per cell, optional cell colours, row-heading texts, the
// current cell and the selected block. The grid control draws and edits
// this model; the back ends, files, search and sort work on it directly, so
// none of them needs a window-system call per cell.
//
// Rows and columns count from 0 here. Packed cells, as notifications and
// events carry them, are (column + 1) * 262144 + (row + 1).
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace korv {

enum class GridCellType : int { text = 0, integer = 1, real = 2, double_precision = 3, check_box = 4, menu = 5 };

// The row part of a packed cell has 18 bits and holds row + 1, so the last
// reportable row is 262,142; columns stay below 8,192 so that the packed
// value stays positive.
inline constexpr int grid_max_rows = 262143;
inline constexpr int grid_max_columns = 8191;
inline constexpr int grid_row_heading_length = 50;
inline constexpr int grid_row_text_size = grid_row_heading_length + 1;
inline constexpr int grid_default_text_length = 1024;
inline constexpr std::string_view grid_default_format = "(G15.5E2)";

constexpr std::int32_t grid_packed_cell(int column, int row)
{
    return (column + 1) * 262144 + (row + 1);
}

// Bits of a cell's flag byte.
inline constexpr std::uint8_t grid_cell_protected = 1;
inline constexpr std::uint8_t grid_cell_holds_value = 2;
inline constexpr std::uint8_t grid_cell_held_value = 4;

// Bits of the grid window's style that the model's users read.
inline constexpr int grid_style_keep_colours = 0x10;
inline constexpr int grid_style_selection_events = 0x20;
inline constexpr int grid_style_data_events = 0x40;
inline constexpr int grid_style_no_row_texts = 0x80;
inline constexpr int grid_style_keeps_height = 0x100;
inline constexpr int grid_style_column_headings = 0x200;
inline constexpr int grid_style_row_headings = 0x400;
inline constexpr int grid_style_read_only = 0x800;

// A colour as programs pass it: -1 none, else red + 256 green + 65536 blue.
inline constexpr std::int32_t grid_no_colour = -1;

class GridModel;

// One cell's colours as its column keeps them, 7 bytes: byte 0 the flags
// (bit 0 text colour set, bit 1 background set), bytes 1 to 3 the text
// colour's red, green and blue, bytes 4 to 6 the background's.
struct GridCellColours {
    unsigned char byte[7];
    unsigned char& operator[](int i) { return byte[i]; }
    unsigned char operator[](int i) const { return byte[i]; }
};
static_assert(sizeof(GridCellColours) == 7);
// The back ends' name for the same item.
using GridCellColour = GridCellColours;

struct GridColumnSpec {
    GridCellType type = GridCellType::text;
    int max_length = 0;         // text columns; 0 takes the default
    bool all_protected = false; // a read-only template control
    bool spinner = false;       // the template is a spinner field
};

class GridColumn {
public:
    GridCellType type = GridCellType::text;
    int max_length = 0; // characters of a text cell; 11 for integers, else 0

    // Properties the column's template control gave; the control keeps its
    // own copy for editing, these serve painting, files, search and sort.
    double minimum = 1000; // a minimum above the maximum: no range
    double maximum = -1000;
    std::string format;               // display format of numbers; empty: the default
    std::vector<std::string> items;   // menu columns: the list shared by every cell
    int alignment = 0;                // 0 left, 1 centre, 2 right
    int letter_case = 0;              // 0 as typed, 1 upper, 2 lower
    std::int32_t foreground = grid_no_colour;
    std::int32_t background = grid_no_colour;
    // Spinner columns: the template's steps, which the column control and
    // an editor opened on the column take.
    bool spinner = false;
    double small_step = 0;
    double large_step = 0;
    int step_base = 0;

    std::size_t value_size() const;
    bool has_range() const { return !(minimum > maximum); }
    std::string_view display_format() const;

    std::uint8_t& flags(int row) { return flags_[static_cast<std::size_t>(row)]; }
    std::uint8_t flags(int row) const { return flags_[static_cast<std::size_t>(row)]; }

    // Text cells: the zero-terminated text.
    std::string_view text(int row) const;
    // Text cells: the cell's whole slot of value_size() bytes (the text, its
    // terminating zero and whatever an earlier longer text left behind);
    // the rows follow each other without a gap.
    const char* text_slot(int row) const { return reinterpret_cast<const char*>(cell(row)); }
    void set_text(int row, std::string_view text);
    // Integer, check-box and menu cells.
    std::int32_t int_value(int row) const;
    void set_int(int row, std::int32_t v);
    float real_value(int row) const;
    void set_real(int row, float v);
    double double_value(int row) const;
    void set_double(int row, double v);
    // Sets the stored value to zero at the cell's full width.
    void zero(int row);
    // Copies the stored value of one row into another.
    void copy_value(int from, int to);

    bool has_colours() const { return !colours_.empty(); }
    GridCellColours& colour_item(int row) { return colours_[static_cast<std::size_t>(row)]; }
    const GridCellColours& colour_item(int row) const { return colours_[static_cast<std::size_t>(row)]; }
    bool make_colours(int rows);
    void drop_colours() { std::vector<GridCellColours>().swap(colours_); }

    // Row to takes row from's value, and its flag byte when with_flags.
    void move_cell(int from, int to, bool with_flags)
    {
        // Fixed sizes copy inline; only text cells take a copy call.
        if (type == GridCellType::double_precision)
            std::memcpy(cell(to), cell(from), 8);
        else if (type != GridCellType::text)
            std::memcpy(cell(to), cell(from), 4);
        else
            std::memcpy(cell(to), cell(from), value_size());
        if (with_flags)
            flags_[static_cast<std::size_t>(to)] = flags_[static_cast<std::size_t>(from)];
    }
    // The value (and flag byte) of a row kept aside and put back.
    void cell_out(int row, unsigned char* value, std::uint8_t& flag) const
    {
        std::memcpy(value, cell(row), value_size());
        flag = flags_[static_cast<std::size_t>(row)];
    }
    void cell_in(int row, const unsigned char* value, std::uint8_t flag, bool with_flags)
    {
        std::memcpy(cell(row), value, value_size());
        if (with_flags)
            flags_[static_cast<std::size_t>(row)] = flag;
    }
    // Exchanges the values of two rows, and their flag bytes when with_flags.
    void swap_rows(int a, int b, bool with_flags);

    std::size_t storage_bytes() const { return values_.capacity() + flags_.capacity() + sizeof(GridCellColours) * colours_.capacity(); }

private:
    friend bool grid_allocate(GridModel&, int, const std::vector<GridColumnSpec>&);
    unsigned char* cell(int row) { return values_.data() + value_size() * static_cast<std::size_t>(row); }
    const unsigned char* cell(int row) const
    {
        return values_.data() + value_size() * static_cast<std::size_t>(row);
    }

    std::vector<unsigned char> values_;
    std::vector<std::uint8_t> flags_;
    std::vector<GridCellColours> colours_;
};

// What an open in-place editor holds for its cell: the cell's content
// while the editor is open, ahead of the stored value.
struct GridEditorSnapshot {
    std::string text;     // the editor's window text
    bool modified = false; // the user changed the text (EM_GETMODIFY)
    double value = 0;      // the field record's value
    int check = 0;         // check boxes: the check state
    int menu = -1;         // menus: the selected index, -1 none
};

struct GridBlock;

// What the grid's windows do when the model changes under them. The control
// installs its own; without one (a grid under test) nothing happens.
class GridView {
public:
    virtual ~GridView() = default;
    // Stores what the in-place editor holds into its cell before the cells
    // are read or moved in bulk.
    virtual void editor_store() {}
    // One cell changed: repaint it (now while redrawing is on) and let an
    // editor open on it show the new content.
    virtual void cell_changed(int column, int row) {}
    // Many cells changed: repaint the cell area and reload the editor.
    virtual void cells_changed() {}
    virtual void current_cell_moved() {}
    // A heading text changed: item 0 the corner, n column n (from 1).
    virtual void column_heading_changed(int item) {}
    virtual void row_heading_changed(int row) {}
    // A column's format, colours, range, steps or menu list changed in
    // the model.
    virtual void column_changed(int column) {}
    // A column's range was set by a program: its spinners take it too.
    virtual void range_changed(int column) {}
    // True, with what the editor holds, when (column, row) is the current
    // cell and its editor is open.
    virtual bool editor_snapshot(int column, int row, GridEditorSnapshot& out) const { return false; }
    // Makes the block the selected one (an empty block clears it).
    virtual void select_block(const GridBlock& block) {}
    // Makes a cell current, with the focus when the grid may take it, and
    // places the caret at caret (0 or more) in an edit editor.
    virtual void goto_cell(int column, int row, int caret) {}
    // The rows in use become count; id is the identifier the grid was
    // found by (its packed cell goes to the dialog's or the grid editor's
    // last cell-change word when the current cell moves).
    virtual void rows_in_use_apply(int id, int count) {}
    // The grid field's own text and background colours (its field
    // record's), when the view keeps them; false leaves the model's.
    virtual bool own_colours(std::int32_t& foreground, std::int32_t& background) const { return false; }
    // The row-heading width in pixels; 0 without row headings.
    virtual int row_heading_pixels() const { return 0; }
    // Paints what is invalid now.
    virtual void update_now() {}
};

struct GridBlock {
    int first_row = -1, last_row = -1, first_column = -1, last_column = -1;
    bool empty() const { return first_row < 0; }
};

class GridModel {
public:
    std::vector<GridColumn> columns;
    int rows_created = 0;
    int rows_in_use = 0;
    int declared_columns = 0;
    int style = 0;
    int current_column = 0;
    int current_row = 0;
    int top_row = 0;
    int first_visible_column = 0; // kept by the control
    int rows_shown = 0; // rows on screen
    GridBlock selection;
    int modified_1 = 0; // the grid editor's unsaved-changes mark
    int modified_2 = 0;
    // The grid field's own colours, the fallback of every cell.
    std::int32_t foreground = grid_no_colour;
    std::int32_t background = grid_no_colour;
    // Item 0 the corner above the row headings, item n column n's heading;
    // empty without column headings.
    std::vector<std::string> column_headings;
    // 51 bytes a row when the grid has row headings, else empty.
    std::vector<char> row_texts;

    GridView* view = nullptr;

    int column_count() const { return static_cast<int>(columns.size()); }
    bool has_column_headings() const { return (style & grid_style_column_headings) != 0; }
    bool has_row_headings() const { return (style & grid_style_row_headings) != 0; }
    bool read_only() const { return (style & grid_style_read_only) != 0; }
    bool row_shown(int row) const { return row >= top_row && row < top_row + rows_shown; }

    std::string_view row_heading(int row) const;
    void set_row_heading(int row, std::string_view text);
    std::string_view column_heading(int item) const;
    void set_column_heading(int item, std::string_view text);

    void mark_modified() { modified_1 = modified_2 = 1; }
    // The grid field's own colours, the fallback of every cell.
    void own_colours(std::int32_t& fg, std::int32_t& bg) const
    {
        if (!view || !view->own_colours(fg, bg)) {
            fg = foreground;
            bg = background;
        }
    }
    // Sets the rows in use (1..rows created, the caller's to check); the
    // current cell and the top row stay inside them. id as the grid was
    // found (see GridView::rows_in_use_apply).
    void set_rows_in_use(int rows, int id = 0);
    // Makes a cell current (inside the rows in use).
    void move_to(int column, int row);
    // The same as the grid routines do it: with the focus when the grid
    // may take it and the caret at caret (-1 none).
    void go_to(int column, int row, int caret);
    void clear_selection();
    // Moves whole rows: new row first + i takes old row order[i] (values,
    // flag bytes with numeric values only, and row headings with
    // headings); colours stay. Nothing is told to the windows.
    void permute_rows(int first, const std::vector<int>& order, bool headings);
    // Makes the block the selected block.
    void select(const GridBlock& block);

    void editor_store() { if (view) view->editor_store(); }
    void cell_changed(int column, int row) { if (view) view->cell_changed(column, row); }
    // Every cell of a row changed.
    void cell_changed_at(int row)
    {
        for (int c = 0; c < column_count(); ++c)
            cell_changed(c, row);
    }
    void cells_changed() { if (view) view->cells_changed(); }
    void column_changed(int column) { if (view) view->column_changed(column); }
};

// Shared by every grid: while 1, a changed cell is repainted at once;
// while 0 it is only marked for the next paint. The routines that change
// many cells turn it off around their work.
int& grid_redraw_flag();

// Builds the columns for rows rows. False, with the model left without
// columns, when the sizes lie outside the grid's limits or the memory
// cannot be had.
bool grid_allocate(GridModel& grid, int rows, const std::vector<GridColumnSpec>& specs);

// Column type codes as programs see them: 4 text, 5 integer, 6 real,
// 7 double, 9 check box, 11 menu.
int grid_type_code(GridCellType type);

// Bytes the model holds for its cells and row texts.
std::size_t grid_storage_bytes(const GridModel& grid);

} // namespace korv
