// The dialog manager's tables and records, and the class tests shared by
// its files.
#include <algorithm>
#include <unordered_map>
#include <vector>

#include "dialogs/dialog_internal.h"
#include "core/context.h"

namespace korv {

namespace {

// The records of the dialog manager's own windows, by window. A record is
// entered where it is hung on its window and leaves where it is taken off,
// at the latest when the window is destroyed; a window the dialog manager
// never hung a record on is never found. Kept here rather than as window
// properties: every message to a field asks for its record, and a property
// look-up is a round trip to the window server.
struct RecordTables {
    std::unordered_map<HWND, DialogRecord*> dialogs;
    std::unordered_map<HWND, FieldRecord*> fields;
};

RecordTables& record_tables()
{
    return toolkit_context().record<RecordTables>(ContextSlot::dialog_records);
}

template <typename Record>
Record* find_record(const std::unordered_map<HWND, Record*>& table, HWND window)
{
    if (window == nullptr)
        return nullptr;
    const auto found = table.find(window);
    return found != table.end() ? found->second : nullptr;
}

template <typename Record>
void attach_record(std::unordered_map<HWND, Record*>& table, HWND window, Record* record)
{
    if (window == nullptr)
        return;
    if (record == nullptr)
        table.erase(window);
    else
        table[window] = record;
}

template <typename Record>
Record* detach_record(std::unordered_map<HWND, Record*>& table, HWND window)
{
    const auto found = table.find(window);
    if (found == table.end())
        return nullptr;
    Record* record = found->second;
    table.erase(found);
    return record;
}

} // namespace

DialogTable& dialog_table()
{
    return toolkit_context().record<DialogTable>(ContextSlot::dialogs);
}

ControlClassAtoms& control_class_atoms()
{
    return toolkit_context().record<ControlClassAtoms>(ContextSlot::control_classes);
}

DialogProcState& dialog_proc_state()
{
    return toolkit_context().record<DialogProcState>(ContextSlot::dialog_procedure);
}

ATOM window_class_atom(HWND window)
{
    return window ? static_cast<ATOM>(GetClassLongA(window, GCW_ATOM)) : ATOM{0};
}

DialogRecord* dialog_record_of(HWND dialog)
{
    return find_record(record_tables().dialogs, dialog);
}

FieldRecord* field_record_of(HWND field)
{
    return find_record(record_tables().fields, field);
}

void dialog_record_attach(HWND dialog, DialogRecord* record)
{
    attach_record(record_tables().dialogs, dialog, record);
}

DialogRecord* dialog_record_detach(HWND dialog)
{
    return detach_record(record_tables().dialogs, dialog);
}

void field_record_attach(HWND field, FieldRecord* record)
{
    attach_record(record_tables().fields, field, record);
}

FieldRecord* field_record_detach(HWND field)
{
    return detach_record(record_tables().fields, field);
}

HWND dialog_current_window()
{
    const DialogTable& t = dialog_table();
    if (t.current_slot < 0 || t.current_slot > t.loaded)
        return nullptr;
    return t.windows[static_cast<std::size_t>(t.current_slot)];
}

bool is_class(HWND window, ATOM atom)
{
    return atom != 0 && window_class_atom(window) == atom;
}

bool number_field_kind(HWND window, NumberKind& kind, bool& spinner)
{
    const ControlClassAtoms& a = control_class_atoms();
    const ATOM atom = window_class_atom(window);
    if (atom == 0)
        return false;
    struct Entry {
        ATOM atom;
        NumberKind kind;
        bool spinner;
    };
    const Entry entries[] = {
        {a.integer_edit, NumberKind::integer, false},
        {a.integer_spin, NumberKind::integer, true},
        {a.real_edit, NumberKind::real, false},
        {a.real_spin, NumberKind::real, true},
        {a.double_edit, NumberKind::double_precision, false},
        {a.double_spin, NumberKind::double_precision, true},
    };
    for (const Entry& e : entries) {
        if (e.atom != 0 && e.atom == atom) {
            kind = e.kind;
            spinner = e.spinner;
            return true;
        }
    }
    return false;
}

bool is_number_field(HWND window)
{
    NumberKind kind;
    bool spinner;
    return number_field_kind(window, kind, spinner);
}

bool is_edit_family(HWND window)
{
    return is_class(window, control_class_atoms().edit) || is_number_field(window);
}

bool is_dialog_window(HWND window)
{
    // The dialog class's atom is fixed; it is also found at start.
    const ATOM atom = control_class_atoms().dialog ? control_class_atoms().dialog : ATOM{32770};
    return window != nullptr && window_class_atom(window) == atom;
}

int button_type(HWND window)
{
    return static_cast<int>(GetWindowLongA(window, GWL_STYLE) & 0xF);
}

bool is_push_button(HWND window)
{
    if (!is_class(window, control_class_atoms().button))
        return false;
    const int type = button_type(window);
    return type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON;
}

std::string window_text(HWND window, int limit)
{
    std::string text(static_cast<std::size_t>(limit) + 1, '\0');
    const int n = GetWindowTextA(window, text.data(), limit + 1);
    text.resize(static_cast<std::size_t>(std::clamp(n, 0, limit)));
    return text;
}

void set_window_text(HWND window, std::string_view text)
{
    const std::string terminated(text);
    SetWindowTextA(window, terminated.c_str());
}

bool dialog_closing(HWND window)
{
    const DialogProcState& s = dialog_proc_state();
    for (HWND w = window; w != nullptr; w = GetParent(w)) {
        if (std::find(std::begin(s.closing), std::end(s.closing), w) != std::end(s.closing))
            return true;
        if (!(GetWindowLongA(w, GWL_STYLE) & WS_CHILD))
            break;
    }
    return false;
}

void dialog_closing_mark(HWND dialog, bool closing)
{
    DialogProcState& s = dialog_proc_state();
    HWND* const begin = std::begin(s.closing);
    HWND* const end = std::end(s.closing);
    if (closing) {
        HWND* free_slot = std::find(begin, end, nullptr);
        if (free_slot != end)
            *free_slot = dialog;
    } else {
        std::replace(begin, end, dialog, HWND{nullptr});
    }
}

} // namespace korv
