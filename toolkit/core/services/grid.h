// What the window layer and the number fields ask of the grid. The grid
// fills the table when it registers (grid_services_register); until then
// there are no grid classes to register and no grid lays itself out. The dialog manager reaches grid fields through the hooks of
// their field class (toolkit/dialogs/field_classes.h), the window layer a
// grid editor through its content kind.
#pragma once

#include <functional>

namespace korv {

struct GridServices {
    // Registers the grid's window classes and its cell-change message;
    // false when a class could not be registered. The root window calls it
    // while it opens, before any dialog is loaded.
    std::function<bool()> register_classes = [] { return true; };
    // The root window closes, after every dialog is gone: the classes go.
    std::function<void()> unregister_classes = [] {};
    // True while a grid re-lays out its columns or its cell area: number
    // fields check nothing meanwhile.
    std::function<bool()> layout_busy = [] { return false; };
};

GridServices& grid_services();

} // namespace korv
