// Registration of the grid's window classes and its cell-change message,
// and the grid's entries in its service table.
#include "grid/grid_classes.h"
#include "grid/grid_control_win.h"

#include "core/context.h"
#include "core/services/grid.h"
#include "core/win_module.h"
#include "dialogs/field_classes.h"
#include "plugin_register.h"

namespace korv {

namespace {
constexpr char grid_class_name[] = "ZOQGRID";
constexpr char grid_client_class_name[] = "ZOQGRIDCLIENT";
} // namespace

GridClassAtoms& grid_class_atoms()
{
    return toolkit_context().record<GridClassAtoms>(ContextSlot::grid_class_atoms);
}

int& grid_layout_busy()
{
    return toolkit_context().record<int>(ContextSlot::grid_layout_busy);
}

bool grid_register_classes()
{
    const HINSTANCE instance = module_instance();
    WNDCLASSA existing{};
    if (GetClassInfoA(instance, grid_class_name, &existing))
        return true;
    GridClassAtoms& atoms = grid_class_atoms();

    WNDCLASSEXA grid{};
    grid.cbSize = sizeof grid;
    grid.style = CS_PARENTDC;
    grid.lpfnWndProc = grid_frame_proc;
    grid.cbWndExtra = sizeof(LONG_PTR);  // the grid record
    grid.hInstance = instance;
    grid.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    grid.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    grid.lpszClassName = grid_class_name;
    atoms.grid = RegisterClassExA(&grid);

    WNDCLASSEXA client = grid;
    client.lpfnWndProc = grid_client_proc;
    client.cbWndExtra = 0;
    client.lpszClassName = grid_client_class_name;
    const ATOM client_atom = RegisterClassExA(&client);

    atoms.cell_change = RegisterWindowMessageA("GM_CELLCHANGE");
    atoms.print_defaults_ready = 0;
    field_class_hooks_add(grid_field_hooks(atoms));
    return atoms.grid != 0 && client_atom != 0;
}

void grid_classes_unregister()
{
    const HINSTANCE instance = module_instance();
    UnregisterClassA(grid_client_class_name, instance);
    UnregisterClassA(grid_class_name, instance);
    field_class_hooks_remove(grid_class_atoms().grid);
    grid_class_atoms().grid = 0;
}

void grid_services_register()
{
    GridServices& services = grid_services();
    services.register_classes = grid_register_classes;
    services.unregister_classes = grid_classes_unregister;
    services.layout_busy = [] { return grid_layout_busy() != 0; };
    grid_editor_kind_register();
    grid_directory_install();
}

} // namespace korv
