// What a stored buffer row means: its name, its unchanged flag, and how
// rows are freed and closed up.
#include <algorithm>

#include "editor/editor_buffers.h"
#include "korvanthide/startup.h"
#include "editor/editor_rules.h"

namespace korv {

namespace {

bool row_number_valid(int window, int buffer)
{
    return window >= 0 && window < EditorBufferTable::window_count && buffer >= 1
           && buffer <= EditorBufferTable::buffer_count;
}

// The row, or nullptr for numbers outside the table or a table that
// start-up has not allocated.
EditorBufferRecord* row_of(int window, int buffer)
{
    EditorBufferTable& table = editor_buffer_table();
    if (!row_number_valid(window, buffer) || !table.allocated()) {
        return nullptr;
    }
    return &table.row(window, buffer);
}

void row_clear(EditorBufferRecord& row)
{
    row = EditorBufferRecord{};
}

} // namespace

void edit_buffer_name_get(int window, int buffer, std::span<char> name)
{
    std::fill(name.begin(), name.end(), ' ');
    if (name.empty()) {
        return;
    }
    std::string_view stored;
    if (const EditorBufferRecord* row = row_of(window, buffer); row != nullptr && row->name_stored) {
        stored = row->file_name;
        const std::size_t end = stored.find_last_not_of(' ');
        stored = end == std::string_view::npos ? std::string_view{} : stored.substr(0, end + 1);
    }
    stored = stored.substr(0, name.size() - 1);
    std::copy(stored.begin(), stored.end(), name.begin());
    name[stored.size()] = '\0';
}

void edit_buffer_name_put(int window, int buffer, std::string_view name)
{
    if (!row_number_valid(window, buffer)) {
        return;
    }
    if (!editor_buffer_table().allocated()) {
        editor_buffer_table().allocate();
    }
    EditorBufferRecord& row = editor_buffer_table().row(window, buffer);
    name = name.substr(0, std::min(name.find('\0'), editor_path_limit - 1));
    row.file_name.assign(name);
    row.name_stored = true;
}

int edit_buffer_unchanged(int window, int buffer)
{
    const EditorBufferRecord* row = row_of(window, buffer);
    return row != nullptr ? row->unchanged : 0;
}

void edit_buffer_free(int window, int buffer)
{
    if (row_of(window, buffer) == nullptr) {
        return;
    }
    EditorBufferTable& table = editor_buffer_table();
    for (int k = buffer; k < EditorBufferTable::buffer_count; ++k) {
        table.row(window, k) = std::move(table.row(window, k + 1));
    }
    row_clear(table.row(window, EditorBufferTable::buffer_count));
}

void editor_rows_release(int window)
{
    for (int buffer = 1; buffer <= EditorBufferTable::buffer_count; ++buffer) {
        if (EditorBufferRecord* row = row_of(window, buffer)) {
            row_clear(*row);
        }
    }
}

} // namespace korv
