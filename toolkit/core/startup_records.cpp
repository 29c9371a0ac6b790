// The records start-up fills for the rest of the toolkit, the editor
// buffer table and the beep switch.
#include "korvanthide/fixed_text.h"
#include "korvanthide/startup.h"
#include "core/context.h"
#include "core/startup_services.h"

#include <stdexcept>

namespace korv {

ToolkitSettings& toolkit_settings()
{
    return toolkit_context().record<ToolkitSettings>(ContextSlot::settings);
}

FileNameTable& file_name_table()
{
    return toolkit_context().record<FileNameTable>(ContextSlot::file_names);
}

DisplayInfo& display_info()
{
    return toolkit_context().record<DisplayInfo>(ContextSlot::display);
}

ToolkitState& toolkit_state()
{
    return toolkit_context().record<ToolkitState>(ContextSlot::start_up);
}

EditorBufferTable& editor_buffer_table()
{
    return toolkit_context().record<EditorBufferTable>(ContextSlot::editor_buffers);
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
