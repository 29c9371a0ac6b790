// Field classes that a plug-in brings into dialogs (the grid). The dialog
// manager knows such a field only by its class atom: wherever it treats a
// field by its class, it asks the hooks of that atom. An entry is added
// when the plug-in registers its window class and removed when the class
// goes; a hook left null gives the answer for a class without it.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string_view>

namespace korv {

struct FieldClassHooks {
    ATOM atom = 0;
    int kind = 0;                // the field kind code programs read
    // Registered message by which a field tells its dialog that it changed:
    // word argument the field identifier, long argument the extra word of
    // the field-changed event. 0: none.
    UINT change_message = 0;
    // The rest of the field's entry in its extras section, after the field
    // identifier; gives how many characters it used. Null: none.
    std::size_t (*extras_entry)(HWND field, std::string_view rest) = nullptr;
    // Copies what the common copy does not (cells, state) from the same
    // field of another copy of its dialog: into the modal instance and back.
    void (*copy_from)(HWND destination, HWND source) = nullptr;
    // Empties the field. Null: the field cannot be cleared.
    void (*clear)(HWND field) = nullptr;
    // A class with a read-only look: it tells whether the field shows it,
    // and the field stays enabled and keeps the focus in state 2 (read-only).
    // Null: state 2 disables the field as any other class.
    bool (*read_only)(HWND field) = nullptr;
    // Enables the field for states 1 and 2, with its read-only look exactly
    // in state 2; the dialog manager shows and hides it itself. Needed with
    // read_only.
    void (*enable)(HWND field, int state) = nullptr;
    // Field options 1 to 4: 0 set, -1 not taken by the field. Null: none taken.
    int (*set_option)(HWND field, int code, int value) = nullptr;
};

// Adds the hooks of a class, in place of those it had.
void field_class_hooks_add(const FieldClassHooks& hooks);
void field_class_hooks_remove(ATOM atom);

// The hooks of a field's class, or of the class whose change message this
// is; null for every other class and message.
const FieldClassHooks* field_class_hooks(HWND field);
const FieldClassHooks* field_class_hooks_by_message(UINT message);

} // namespace korv
