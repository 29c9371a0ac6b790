// The hardcopy state, and what the graphics layer asks of it: the page,
// and the hardcopy steps of its start-up.
#include "hardcopy/control/hardcopy_state.h"

#include "hardcopy/control/control.h"
#include "core/context.h"

namespace korv {

HardcopyState& hardcopy_state()
{
    return toolkit_context().record<HardcopyState>(ContextSlot::hardcopy_state);
}

int* HardcopyOptions::find(int n)
{
    if (n >= 1 && n <= option_low_last)
        return &low[static_cast<std::size_t>(n - 1)];
    if (n >= option_kept_first && n <= option_kept_last)
        return &high[static_cast<std::size_t>(n - option_kept_first)];
    return nullptr;
}

const int* HardcopyOptions::find(int n) const { return const_cast<HardcopyOptions*>(this)->find(n); }

int HardcopyOptions::get(int n) const
{
    const int* v = find(n);
    return v != nullptr ? *v : 0;
}

HardcopyPage hc_page()
{
    const HardcopyState& hc = hardcopy_state();
    return {hc.options.get(option_page_width), hc.options.get(option_page_height), hc.scale_x, hc.scale_y};
}

void hc_graphics_start(bool options_kept)
{
    HardcopyState& hc = hardcopy_state();
    hc.page_drawn = 0;
    IGrHardCopy("S", " ");

    // The current driver is selected afresh; when a driver was selected
    // before, "P" keeps the options and the default output name.
    DeviceParameters& p = device_parameters();
    const bool keep = hc.driver_record != 0 && options_kept;
    const HardcopyOptions saved_options = hc.options;
    const auto saved_name = hc.default_output_name;
    p.phase = keep ? -998 : 0;
    hc.options.low.fill(0);
    // A probe that found no driver leaves -999 behind; this is a full selection.
    p.count = 0;
    hc_dispatch(+DeviceOperation::Select);
    p.phase = 0;
    if (!keep)
        return;
    hc.default_output_name = saved_name;
    for (int n = 1; n <= option_low_last; ++n)
        hc_set_option(n, saved_options.get(n));
    for (int n = option_kept_first; n <= option_kept_last; ++n)
        hc_set_option(n, saved_options.get(n));
}

} // namespace korv
