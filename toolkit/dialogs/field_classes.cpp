// The hooks of plug-in field classes, by class atom.
#include "dialogs/field_classes.h"

#include <algorithm>
#include <vector>

#include "dialogs/dialog_internal.h"
#include "core/context.h"

namespace korv {

namespace {

// Few entries (one per plug-in class): a search is as quick as a map.
std::vector<FieldClassHooks>& entries()
{
    return toolkit_context().record<std::vector<FieldClassHooks>>(ContextSlot::field_classes);
}

} // namespace

void field_class_hooks_add(const FieldClassHooks& hooks)
{
    if (hooks.atom == 0)
        return;
    field_class_hooks_remove(hooks.atom);
    entries().push_back(hooks);
}

void field_class_hooks_remove(ATOM atom)
{
    std::erase_if(entries(), [atom](const FieldClassHooks& h) { return h.atom == atom; });
}

const FieldClassHooks* field_class_hooks(HWND field)
{
    auto& table = entries();
    if (field == nullptr || table.empty())
        return nullptr;
    const ATOM atom = window_class_atom(field);
    const auto found = std::find_if(table.begin(), table.end(), [atom](const FieldClassHooks& h) { return h.atom == atom; });
    return found != table.end() ? &*found : nullptr;
}

const FieldClassHooks* field_class_hooks_by_message(UINT message)
{
    auto& table = entries();
    if (message == 0)
        return nullptr;
    const auto found = std::find_if(table.begin(), table.end(),
                                    [message](const FieldClassHooks& h) { return h.change_message == message; });
    return found != table.end() ? &*found : nullptr;
}

} // namespace korv
