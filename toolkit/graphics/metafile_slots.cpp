// The metafile slot table.
#include "graphics/metafile_slots.h"

#include "korvanthide/bitmaps.h"
#include "korvanthide/error_numbers.h"
#include "korvanthide/errors.h"
#include "korvanthide/graphics_state.h"
#include "core/context.h"

namespace korv {
namespace {

// Slot number n is slots[n - 1].
struct MetafileSlots {
    std::array<MetafileSlot, metafile_slot_count> slots;
};

MetafileSlots& table()
{
    return toolkit_context().record<MetafileSlots>(ContextSlot::metafile_slots);
}

MetafileDelete& delete_routine()
{
    return toolkit_context().record<MetafileDelete>(ContextSlot::metafile_delete);
}

} // namespace

MetafileSlot* metafile_slot(int number)
{
    return number >= 1 && number <= metafile_slot_count ? &table().slots[static_cast<std::size_t>(number - 1)] : nullptr;
}

void metafile_slots_clear()
{
    for (auto& s : table().slots)
        s = MetafileSlot{};
}

void metafile_slots_release()
{
    for (int n = 1; n <= metafile_slot_count; ++n)
        if (metafile_slot(n)->kind != metafile_free)
            WMetafileDestroy(n);
}

MetafileDelete metafile_delete_install(MetafileDelete routine)
{
    const MetafileDelete previous = delete_routine();
    delete_routine() = routine;
    return previous;
}

bool metafile_slot_create_cgm(int number, int width_points, int height_points, int capacity)
{
    MetafileSlot* s = metafile_slot(number);
    if (s == nullptr || s->kind != metafile_free || capacity < 0)
        return false;
    *s = MetafileSlot{};
    s->kind = metafile_cgm;
    s->in_use = 1;
    s->width_points = width_points;
    s->height_points = height_points;
    s->capacity = capacity;
    s->buffer.assign(static_cast<std::size_t>(capacity), 0);
    return true;
}

int GraphicsPlatform::metafile_kind(int slot, int& width, int& height)
{
    const MetafileSlot* s = metafile_slot(slot);
    if (s == nullptr || s->in_use == 0)
        return metafile_free;
    width = s->device_width;
    height = s->device_height;
    return s->kind;
}

void YYGCGM1(std::span<const std::uint8_t> bytes)
{
    MetafileSlot* s = metafile_slot(graphics_state().target_number);
    if (s == nullptr || s->kind != metafile_cgm)
        return;
    const std::size_t room = static_cast<std::size_t>(s->capacity - s->bytes_used);
    if (bytes.size() > room) {
        err_report(err::cgm_full, "YYGCGM1");
        return;
    }
    std::copy(bytes.begin(), bytes.end(), s->buffer.begin() + s->bytes_used);
    s->bytes_used += static_cast<int>(bytes.size());
}

} // namespace korv

void WMetafileDestroy(int number)
{
    using namespace korv;
    MetafileSlot* s = metafile_slot(number);
    if (s == nullptr || s->kind == metafile_free) {
        err_report(err::metafile_handle, "WMetafileDestroy");
        return;
    }
    GraphicsState& g = graphics_state();
    if (g.target_kind == target_metafile && g.target_number == number)
        IGrSelect(target_window);
    if (s->kind == metafile_enhanced && delete_routine() != nullptr)
        delete_routine()(number - 1);
    *s = MetafileSlot{};
}
