#include "core/services/hardcopy.h"

namespace korv {

namespace {

HardcopyServices inert_services()
{
    HardcopyServices s;
    s.description_reset = [] {};
    s.setting_store = [](HardcopySetting, int) {};
    s.settings_decode = [] {};
    s.defaults_init = [](int) {};
    s.hard_copy = [](std::optional<std::string_view>, std::optional<std::string_view>) {};
    s.dispatch = [](int) {};
    s.set_option = [](int, int) {};
    // No printer can be read without the plug-in.
    s.printer_defaults = [](GraphicsPlatform::PrinterPage&) { return 1; };
    s.printer_information_context = []() -> HDC__* { return nullptr; };
    s.print_command = [](std::string_view) {};
    s.driver_install = [](int, Device*) -> Device* { return nullptr; };
    return s;
}

} // namespace

HardcopyServices& hardcopy_services()
{
    static HardcopyServices services = inert_services();
    return services;
}

HardcopyState& hardcopy_state()
{
    static HardcopyState state;
    return state;
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

} // namespace korv
