// The records start-up fills for the rest of the toolkit, the editor
// buffer table and the beep switch.
#include "korvanthide/fixed_text.h"
#include "korvanthide/startup.h"
#include "core/startup_services.h"

#include <stdexcept>

namespace korv {

ToolkitSettings& toolkit_settings()
{
    static ToolkitSettings settings;
    return settings;
}

FileNameTable& file_name_table()
{
    static FileNameTable table;
    return table;
}

DisplayInfo& display_info()
{
    static DisplayInfo info;
    return info;
}

ToolkitState& toolkit_state()
{
    static ToolkitState state;
    return state;
}

EditorBufferTable& editor_buffer_table()
{
    static EditorBufferTable table;
    return table;
}

void EditorBufferTable::allocate()
{
    rows_.clear();
    rows_.resize(static_cast<std::size_t>(window_count * buffer_count));
}

void EditorBufferTable::release()
{
    rows_.clear();
    rows_.shrink_to_fit();
}

EditorBufferRecord& EditorBufferTable::row(int window, int buffer)
{
    if (window < 0 || window >= window_count || buffer < 1 || buffer > buffer_count)
        throw std::out_of_range("editor buffer row");
    return rows_.at(static_cast<std::size_t>(window * buffer_count + buffer - 1));
}

void sys_beep_enable(int flag)
{
    toolkit_state().beeps_on = flag != 0;
}

bool sys_beep_enabled()
{
    return toolkit_state().beeps_on;
}

void sys_version_string(std::span<char> text)
{
    text_assign(text, toolkit_version);
}

} // namespace korv
