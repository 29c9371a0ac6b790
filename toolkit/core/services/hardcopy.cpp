#include "core/services/hardcopy.h"

namespace korv {

HardcopyServices& hardcopy_services()
{
    static HardcopyServices services;
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
