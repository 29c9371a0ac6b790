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
inline constexpr int grid_style_column_headings = 0x200;
inline constexpr int grid_style_row_headings = 0x400;
inline constexpr int grid_style_read_only = 0x800;

// A colour as programs pass it: -1 none, else red + 256 green + 65536 blue.
inline constexpr std::int32_t grid_no_colour = -1;

class GridModel;

struct GridColumnSpec {
    GridCellType type = GridCellType::text;
    int max_length = 0;         // text columns; 0 takes the default
    bool all_protected = false; // a read-only template control
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

    std::size_t value_size() const;
    bool has_range() const { return !(minimum > maximum); }
    std::string_view display_format() const;

    std::uint8_t& flags(int row) { return flags_[static_cast<std::size_t>(row)]; }
    std::uint8_t flags(int row) const { return flags_[static_cast<std::size_t>(row)]; }

    // Text cells: the zero-terminated text.
    std::string_view text(int row) const;
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
    unsigned char* colour_item(int row) { return colours_.data() + 7 * static_cast<std::size_t>(row); }
    const unsigned char* colour_item(int row) const
    {
        return colours_.data() + 7 * static_cast<std::size_t>(row);
    }
    bool make_colours(int rows);
    void drop_colours() { std::vector<unsigned char>().swap(colours_); }

    // Moves whole rows: new row i takes old row order[i] (values, and flag
    // bytes when with_flags); order holds the rows first..first+n-1.
    void permute(int first, const std::vector<int>& order, bool with_flags);

    std::size_t storage_bytes() const { return values_.capacity() + flags_.capacity() + colours_.capacity(); }

private:
    friend bool grid_allocate(GridModel&, int, const std::vector<GridColumnSpec>&);
    unsigned char* cell(int row) { return values_.data() + value_size() * static_cast<std::size_t>(row); }
    const unsigned char* cell(int row) const
    {
        return values_.data() + value_size() * static_cast<std::size_t>(row);
    }

    std::vector<unsigned char> values_;
    std::vector<std::uint8_t> flags_;
    std::vector<unsigned char> colours_;
};

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
    virtual void selection_cleared() {}
    virtual void current_cell_moved() {}
    // Rows in use changed: scroll range, row-heading controls, editor.
    virtual void rows_changed() {}
    // A heading text changed: item 0 the corner, n column n (from 1).
    virtual void column_heading_changed(int item) {}
    virtual void row_heading_changed(int row) {}
    // A column's format, colours or menu list changed in the model.
    virtual void column_changed(int column) {}
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
    // Sets the rows in use (1..rows created, the caller's to check); the
    // current cell and the top row stay inside them.
    void set_rows_in_use(int rows);
    // Makes a cell current (inside the rows in use).
    void move_to(int column, int row);
    void clear_selection();

    void editor_store() { if (view) view->editor_store(); }
    void cell_changed(int column, int row) { if (view) view->cell_changed(column, row); }
    void cells_changed() { if (view) view->cells_changed(); }
    void column_changed(int column) { if (view) view->column_changed(column); }
};

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
