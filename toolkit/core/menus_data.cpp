#include "core/menus_data.h"

#include <algorithm>
#include <limits>

namespace korv {

namespace {

// Reads little-endian words through a cursor that never passes the end.
class WordCursor {
public:
    explicit WordCursor(ResourceBytes data) : data_(data) {}
    bool word(int& value)
    {
        if (data_.size() - at_ < 2) {
            return false;
        }
        value = data_[at_] | (data_[at_ + 1] << 8);
        at_ += 2;
        return true;
    }
    // A zero-terminated text; false when the data ends first.
    bool text(std::string& value)
    {
        const auto begin = data_.begin() + static_cast<std::ptrdiff_t>(at_);
        const auto end = std::find(begin, data_.end(), 0);
        if (end == data_.end()) {
            return false;
        }
        value.assign(begin, end);
        at_ = static_cast<std::size_t>(end - data_.begin()) + 1;
        return true;
    }

private:
    ResourceBytes data_;
    std::size_t at_ = 0;
};

} // namespace

std::vector<MenuCommandPath> menu_command_table_parse(ResourceBytes data)
{
    std::vector<MenuCommandPath> entries;
    WordCursor cursor(data);
    int command = 0;
    while (cursor.word(command) && command != 0) {
        MenuCommandPath entry;
        entry.command = command;
        int position = 0;
        bool closed = false;
        while (cursor.word(position)) {
            if (position == 0) {
                closed = true;
                break;
            }
            entry.path.push_back(position);
        }
        if (!closed) {
            break;
        }
        entries.push_back(std::move(entry));
    }
    return entries;
}

std::optional<std::string> menu_help_find(ResourceBytes data, int command)
{
    WordCursor cursor(data);
    int id = 0;
    std::string text;
    while (cursor.word(id) && id != 0) {
        if (!cursor.text(text)) {
            return std::nullopt;
        }
        if (id == command) {
            return text;
        }
    }
    return std::nullopt;
}

int ToolbarResource::image_count() const
{
    return static_cast<int>(std::count_if(commands.begin(), commands.end(),
                                          [](int command) { return command != 0; }));
}

std::optional<ToolbarResource> toolbar_resource_parse(ResourceBytes data)
{
    WordCursor cursor(data);
    ToolbarResource bar;
    if (!cursor.word(bar.image_width) || !cursor.word(bar.image_height)) {
        return std::nullopt;
    }
    if (bar.image_width < 1 || bar.image_width > toolbar_image_limit || bar.image_height < 1
        || bar.image_height > toolbar_image_limit) {
        return std::nullopt;
    }
    int command = 0;
    bool separator_pending = false;
    while (cursor.word(command)) {
        if (command == 0) {
            if (separator_pending) {
                break;  // two zero words end the list
            }
            separator_pending = true;
            continue;
        }
        if (separator_pending) {
            bar.commands.push_back(0);
            separator_pending = false;
        }
        bar.commands.push_back(command);
    }
    return bar;
}

ToolbarGeometry toolbar_geometry(int image_width, int image_height, int side)
{
    ToolbarGeometry geometry;
    // Bitmap sizes near the int limit are held there.
    const auto grown = [](int v, int by) { return v > std::numeric_limits<int>::max() - by ? std::numeric_limits<int>::max() : v + by; };
    geometry.button_width = grown(image_width, 6);
    geometry.button_height = grown(image_height, 6);
    geometry.thickness = toolbar_side_vertical(side) ? grown(geometry.button_width, 3)
                                                     : grown(geometry.button_height, 6);
    return geometry;
}

int tooltip_record_choice(std::span<const int> commands, int command)
{
    int free_record = -1;
    for (std::size_t i = 0; i < commands.size(); ++i) {
        if (commands[i] == command && command != 0) {
            return static_cast<int>(i);
        }
        if (commands[i] == 0) {
            free_record = static_cast<int>(i);
        }
    }
    return free_record;
}

std::string tooltip_text_stored(std::string_view text)
{
    const std::size_t end = text.find_last_not_of(' ');
    text = end == std::string_view::npos ? std::string_view{} : text.substr(0, end + 1);
    return std::string(text.substr(0, tooltip_text_limit));
}

int menu_insert_position(int found, int relative, int count)
{
    const long long position = static_cast<long long>(found) + relative - 1;
    return static_cast<int>(std::clamp<long long>(position, 0, count));
}

} // namespace korv
