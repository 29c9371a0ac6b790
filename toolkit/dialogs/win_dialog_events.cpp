// Events raised in dialogs, with their values taken from the dialog's
// records. Nothing is posted from the modal instance.
#include "korvanthide/events.h"
#include "korvanthide/window.h"
#include "dialogs/dialog_internal.h"

namespace korv {

namespace {

EventPost base_post(int type, const DialogRecord& r)
{
    EventPost p;
    p.type = type;
    p.window = r.identifier;
    p.time = static_cast<int>(GetMessageTime());
    return p;
}

} // namespace

HWND field_dialog(HWND field)
{
    HWND parent = GetParent(field);
    while (parent != nullptr && !is_dialog_window(parent))
        parent = GetParent(parent);
    return parent;
}

DialogRecord* change_record(HWND dialog)
{
    if (dialog_is_modal_instance(dialog))
        return dialog_record_of(dialog_current_window());
    return dialog_record_of(dialog);
}

void dialog_post_push_button(HWND dialog, WPARAM w, LPARAM)
{
    const DialogRecord* r = dialog_record_of(dialog);
    if (r == nullptr || dialog_is_modal_instance(dialog))
        return;
    EventPost p = base_post(event::push_button, *r);
    p.first = LOWORD(w);
    p.second = r->previous_field;
    win_event_post_dialog(p);
}

void dialog_post_field_changed(HWND dialog, WPARAM w, LPARAM extra_word)
{
    DialogRecord* r = dialog_record_of(dialog);
    if (r == nullptr || dialog_is_modal_instance(dialog))
        return;
    if (win_event_enable_get(event::field_changed) == 0)
        return;
    EventPost p = base_post(event::field_changed, *r);
    p.first = r->previous_field;
    p.second = r->current_field;
    p.source = 0;
    p.x = static_cast<int>(r->last_extra_word);
    p.y = static_cast<int>(extra_word);
    (void)w;
    win_event_post_dialog(p);
    r->last_extra_word = extra_word;
}

void dialog_post_tab_changed(HWND dialog, WPARAM, LPARAM)
{
    const DialogRecord* r = dialog_record_of(dialog);
    if (r == nullptr || dialog_is_modal_instance(dialog))
        return;
    EventPost p = base_post(event::tab_changed, *r);
    p.first = r->tab_page_left;
    p.second = r->tab_page_entered;
    win_event_post_dialog(p);
}

void dialog_post_sub_window(HWND dialog, int type, WPARAM w, LPARAM l, int field)
{
    const DialogRecord* r = dialog_record_of(dialog);
    if (r == nullptr || dialog_is_modal_instance(dialog))
        return;
    EventPost p = base_post(type, *r);
    p.source = event::source_field;
    p.field = field;
    switch (type) {
    case event::mouse_down + event::field_offset:
    case event::mouse_up + event::field_offset:
    case event::double_click + event::field_offset:
        p.first = r->mouse_button;
        p.second = win_modifier_bits(static_cast<int>(w));
        p.x = static_cast<short>(LOWORD(l));
        p.y = static_cast<short>(HIWORD(l));
        break;
    case event::mouse_move + event::field_offset:
        p.first = -1;
        p.second = win_modifier_bits(static_cast<int>(w));
        p.x = static_cast<short>(LOWORD(l));
        p.y = static_cast<short>(HIWORD(l));
        break;
    case event::expose + event::field_offset:
        break;
    case event::resize + event::field_offset: {
        p.first = LOWORD(l);
        p.second = HIWORD(l);
        HWND source = field != 0 ? GetDlgItem(dialog, field) : dialog;
        p.visible = source != nullptr && IsWindowVisible(source);
        p.minimised = w == SIZE_MINIMIZED;
        break;
    }
    default:
        return;
    }
    win_event_post_dialog(p);
}

} // namespace korv
