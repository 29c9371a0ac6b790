// The dialog procedure of every toolkit dialog and the subclass procedures
// of its fields: they keep each dialog's current and previous field, check
// number fields before push buttons act, and turn what happens in a dialog
// into toolkit events.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <new>
#include <vector>

#include "korvanthide/events.h"
#include "korvanthide/window.h"
#include "core/win_module.h"
#include "core/window_procs.h"
#include "dialogs/dialog_internal.h"
#include "dialogs/field_classes.h"

namespace korv {

namespace {

DialogTable& table() { return dialog_table(); }

bool in_modal(HWND window) { return dialog_is_modal_instance(window) != 0; }

int low_style5(HWND w) { return static_cast<int>(GetWindowLongA(w, GWL_STYLE) & 0x1F); }

void subclass(HWND w, WNDPROC proc) { SetWindowLongPtrA(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(proc)); }

LRESULT call_class(WNDPROC proc, HWND w, UINT m, WPARAM wp, LPARAM lp)
{
    return proc ? CallWindowProcA(proc, w, m, wp, lp) : DefWindowProcA(w, m, wp, lp);
}

// The field-change step shared by commands, scrolls and notifications: the
// previous field takes the current one and the field becomes current.
void make_current(HWND dialog, int id, bool also_previous = false)
{
    if (DialogRecord* r = change_record(dialog)) {
        r->previous_field = also_previous ? id : r->current_field;
        r->current_field = id;
    }
}

void set_result(HWND dialog, LRESULT result) { SetWindowLongPtrA(dialog, DWLP_MSGRESULT, result); }

void load_button_image(HWND button)
{
    const LONG style = GetWindowLongA(button, GWL_STYLE);
    const int id = GetDlgCtrlID(button);
    HANDLE image = nullptr;
    HANDLE old = nullptr;
    if (style & BS_BITMAP) {
        image = LoadImageA(module_instance(), MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0,
                           LR_LOADMAP3DCOLORS | LR_LOADTRANSPARENT);
        if (image != nullptr) {
            old = reinterpret_cast<HANDLE>(
                SendMessageA(button, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(image)));
            if (old != nullptr && old != image)
                DeleteObject(old);
        }
    } else if (style & BS_ICON) {
        image = LoadImageA(module_instance(), MAKEINTRESOURCEA(id), IMAGE_ICON, 0, 0, 0);
        if (image != nullptr) {
            old = reinterpret_cast<HANDLE>(
                SendMessageA(button, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(image)));
            if (old != nullptr && old != image)
                DestroyIcon(static_cast<HICON>(old));
        }
    }
    const bool shows = SendMessageA(button, BM_GETIMAGE, IMAGE_BITMAP, 0) != 0 ||
                       SendMessageA(button, BM_GETIMAGE, IMAGE_ICON, 0) != 0;
    if (!shows)
        SetWindowLongA(button, GWL_STYLE, GetWindowLongA(button, GWL_STYLE) & ~(BS_BITMAP | BS_ICON));
}

void load_static_picture(HWND picture)
{
    const int type = static_cast<int>(GetWindowLongA(picture, GWL_STYLE) & 0xF);
    const int id = GetDlgCtrlID(picture);
    if (type == SS_BITMAP && SendMessageA(picture, STM_GETIMAGE, IMAGE_BITMAP, 0) == 0) {
        if (HANDLE b = LoadImageA(module_instance(), MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, 0))
            SendMessageA(picture, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(b));
    } else if (type == SS_ICON && SendMessageA(picture, STM_GETIMAGE, IMAGE_ICON, 0) == 0) {
        if (HANDLE i = LoadImageA(module_instance(), MAKEINTRESOURCEA(id), IMAGE_ICON, 0, 0, 0))
            SendMessageA(picture, STM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(i));
    } else if (type == SS_ENHMETAFILE) {
        HRSRC res = FindResourceA(module_instance(), MAKEINTRESOURCEA(id), "ZOQMETAFILE");
        HGLOBAL data = res ? LoadResource(module_instance(), res) : nullptr;
        const void* bytes = data ? LockResource(data) : nullptr;
        const DWORD size = res ? SizeofResource(module_instance(), res) : 0;
        if (bytes != nullptr && size > 0) {
            if (HENHMETAFILE emf = SetEnhMetaFileBits(size, static_cast<const BYTE*>(bytes)))
                SendMessageA(picture, STM_SETIMAGE, IMAGE_ENHMETAFILE, reinterpret_cast<LPARAM>(emf));
        }
    }
}

void init_system_menu(HWND dialog)
{
    LONG style = GetWindowLongA(dialog, GWL_STYLE);
    if (!(style & WS_THICKFRAME)) {
        style &= ~WS_MAXIMIZEBOX;
        SetWindowLongA(dialog, GWL_STYLE, style);
    }
    HMENU menu = GetSystemMenu(dialog, FALSE);
    if (menu == nullptr)
        return;
    EnableMenuItem(menu, SC_RESTORE, MF_BYCOMMAND | MF_GRAYED);
    if (!(style & WS_MINIMIZEBOX))
        EnableMenuItem(menu, SC_MINIMIZE, MF_BYCOMMAND | MF_GRAYED);
    if (!(style & WS_MAXIMIZEBOX))
        EnableMenuItem(menu, SC_MAXIMIZE, MF_BYCOMMAND | MF_GRAYED);
    if (!(style & WS_THICKFRAME))
        EnableMenuItem(menu, SC_SIZE, MF_BYCOMMAND | MF_GRAYED);
}

void system_menu_follow(HWND dialog, WPARAM how)
{
    HMENU menu = GetSystemMenu(dialog, FALSE);
    if (menu == nullptr)
        return;
    const LONG style = GetWindowLongA(dialog, GWL_STYLE);
    auto set = [&](UINT item, bool on) {
        EnableMenuItem(menu, item, MF_BYCOMMAND | (on ? MF_ENABLED : MF_GRAYED));
    };
    if (how == SIZE_MINIMIZED) {
        set(SC_MINIMIZE, false);
        set(SC_RESTORE, true);
    } else if (how == SIZE_RESTORED) {
        set(SC_MINIMIZE, (style & WS_MINIMIZEBOX) != 0);
        set(SC_MAXIMIZE, (style & WS_MAXIMIZEBOX) != 0);
        set(SC_RESTORE, false);
    } else if (how == SIZE_MAXIMIZED) {
        set(SC_MAXIMIZE, false);
        set(SC_RESTORE, true);
    }
}

void relayout(HWND dialog, int width, int height)
{
    HWND grip = nullptr;
    for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        if (is_class(c, control_class_atoms().scrollbar) && (GetWindowLongA(c, GWL_STYLE) & SBS_SIZEGRIP))
            grip = c;
    }
    const DialogRecord* r = dialog_record_of(dialog);
    if (grip != nullptr) {
        RECT g{};
        GetWindowRect(grip, &g);
        const int gw = g.right - g.left;
        const int gh = g.bottom - g.top;
        SetWindowPos(grip, nullptr, width - gw, height - gh, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        bool hide = IsZoomed(dialog) != FALSE;
        if (r && r->host_window && IsZoomed(r->host_window))
            hide = true;
        ShowWindow(grip, hide ? SW_HIDE : SW_SHOWNA);
    }
    for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        if (c == grip || is_dialog_window(c))
            continue;
        const FieldRecord* f = field_record_of(c);
        if (f == nullptr || f->anchor_flags == 0)
            continue;
        bool is_partner = false;
        for (HWND o = GetWindow(dialog, GW_CHILD); o; o = GetWindow(o, GW_HWNDNEXT)) {
            const FieldRecord* of = field_record_of(o);
            if (of && of->updown_partner == c)
                is_partner = true;
        }
        if (is_partner)
            continue;
        RECT rc{};
        GetWindowRect(c, &rc);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rc), 2);
        int right_edge = rc.right;
        int partner_width = 0;
        if (f->updown_partner) {
            RECT p{};
            GetWindowRect(f->updown_partner, &p);
            partner_width = p.right - p.left;
            right_edge += partner_width;
        }
        const int dx = width - right_edge - f->right_margin;
        const int dy = height - rc.bottom - f->bottom_margin;
        if (f->anchor_flags & 1)
            rc.left += dx;
        if (f->anchor_flags & 2)
            rc.right += dx;
        if (f->anchor_flags & 4)
            rc.top += dy;
        if (f->anchor_flags & 8)
            rc.bottom += dy;
        SetWindowPos(c, nullptr, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top,
                     SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS);
        if (f->updown_partner) {
            SetWindowPos(f->updown_partner, nullptr, rc.right, rc.top, partner_width,
                         rc.bottom - rc.top, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS);
        }
    }
}

// Field-colour answer, the same for every control-colour message.
LRESULT dialog_field_colours(HWND dialog, UINT, HDC dc, HWND control)
{
    DialogProcState& s = dialog_proc_state();
    if (s.colour_brush != nullptr) {
        DeleteObject(s.colour_brush);
        s.colour_brush = nullptr;
    }
    HWND field = control;
    if (is_class(field, control_class_atoms().treeview))
        return 0;
    for (int i = 0; i < 2 && field != nullptr && GetParent(field) != dialog; ++i)
        field = GetParent(field);
    if (field == nullptr || GetParent(field) != dialog)
        return 0;
    const FieldRecord* r = field_record_of(field);
    if (r == nullptr)
        return 0;
    const bool button_like =
        is_class(field, control_class_atoms().button) || is_class(field, control_class_atoms().static_text);
    if (r->foreground != -1)
        SetTextColor(dc, static_cast<COLORREF>(r->foreground));
    else if (r->background != -1)
        SetTextColor(dc, GetSysColor(button_like ? COLOR_BTNTEXT : COLOR_WINDOWTEXT));
    if (r->background != -1) {
        SetBkColor(dc, static_cast<COLORREF>(r->background));
        s.colour_brush = CreateSolidBrush(GetNearestColor(dc, static_cast<COLORREF>(r->background)));
        return reinterpret_cast<LRESULT>(s.colour_brush);
    }
    if (r->foreground != -1) {
        const int index = button_like ? COLOR_BTNFACE : COLOR_WINDOW;
        SetBkColor(dc, GetSysColor(index));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(index));
    }
    return 0;
}

bool paint_snapshot(HWND dialog)
{
    DialogTable& t = table();
    if (!t.snapshots_taken)
        return false;
    for (int s = 1; s <= t.loaded; ++s) {
        if (t.windows[static_cast<std::size_t>(s)] != dialog)
            continue;
        HBITMAP bmp = t.dialog_snapshots[static_cast<std::size_t>(s)].bitmap;
        if (bmp == nullptr)
            return false;
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(dialog, &ps);
        HDC mem = CreateCompatibleDC(dc);
        HGDIOBJ old = SelectObject(mem, bmp);
        RECT rc{};
        GetClientRect(dialog, &rc);
        BitBlt(dc, 0, 0, rc.right, rc.bottom, mem, 0, 0, SRCCOPY);
        SelectObject(mem, old);
        DeleteDC(mem);
        EndPaint(dialog, &ps);
        return true;
    }
    return false;
}

// Frees a field's own font and picture once the field is gone.
struct Leftovers {
    HFONT font = nullptr;
    HANDLE picture = nullptr;
    UINT picture_type = 0;
};

Leftovers leftovers_of(HWND dialog, HWND child)
{
    Leftovers l;
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(child, WM_GETFONT, 0, 0));
    HFONT dialog_font = reinterpret_cast<HFONT>(SendMessageA(dialog, WM_GETFONT, 0, 0));
    bool stock = false;
    for (int s : {OEM_FIXED_FONT, ANSI_FIXED_FONT, ANSI_VAR_FONT, SYSTEM_FONT, DEVICE_DEFAULT_FONT,
                  SYSTEM_FIXED_FONT, DEFAULT_GUI_FONT})
        if (font == GetStockObject(s))
            stock = true;
    if (font != nullptr && font != dialog_font && !stock)
        l.font = font;
    if (is_class(child, control_class_atoms().static_text)) {
        const int type = static_cast<int>(GetWindowLongA(child, GWL_STYLE) & 0x1F);
        const UINT image_type = type == SS_BITMAP ? IMAGE_BITMAP
                                : type == SS_ICON ? IMAGE_ICON
                                : type == SS_ENHMETAFILE ? IMAGE_ENHMETAFILE
                                                         : 0xFFFF;
        if (image_type != 0xFFFF) {
            l.picture = reinterpret_cast<HANDLE>(SendMessageA(child, STM_GETIMAGE, image_type, 0));
            l.picture_type = image_type;
        }
    } else if (is_class(child, control_class_atoms().button)) {
        const LONG style = GetWindowLongA(child, GWL_STYLE);
        const UINT image_type = (style & BS_BITMAP) ? IMAGE_BITMAP : (style & BS_ICON) ? IMAGE_ICON : 0xFFFF;
        if (image_type != 0xFFFF) {
            l.picture = reinterpret_cast<HANDLE>(SendMessageA(child, BM_GETIMAGE, image_type, 0));
            l.picture_type = image_type;
        }
    }
    return l;
}

void free_leftovers(const Leftovers& l)
{
    if (l.font)
        DeleteObject(l.font);
    if (l.picture == nullptr)
        return;
    if (l.picture_type == IMAGE_BITMAP)
        DeleteObject(l.picture);
    else if (l.picture_type == IMAGE_ICON)
        DestroyIcon(static_cast<HICON>(l.picture));
    else if (l.picture_type == IMAGE_ENHMETAFILE)
        DeleteEnhMetaFile(static_cast<HENHMETAFILE>(l.picture));
}

void on_destroy(HWND dialog)
{
    // Fields are destroyed here, before the dialog's own records go, so
    // that no number field outlives what it reads.
    const bool modal = in_modal(dialog);
    // A graphics field's context goes back before its window does.
    DialogProcState& s = dialog_proc_state();
    if (s.field_dc != nullptr && (s.field_dc_window == dialog || IsChild(dialog, s.field_dc_window))) {
        WindowTables& t = window_tables();
        if (t.drawing_dc == s.field_dc)
            t.drawing_dc = t.client_dc;
        ReleaseDC(s.field_dc_window, s.field_dc);
        s.field_dc = nullptr;
        s.field_dc_window = nullptr;
    }

    std::vector<HWND> children;
    for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        children.push_back(c);
    dialog_closing_mark(dialog, true);
    for (HWND c : children) {
        if (!IsWindow(c) || is_dialog_window(c))
            continue;
        // The tab field gets its class procedure back; its record stays
        // hooked so that it goes with the window.
        if (is_class(c, control_class_atoms().tab))
            if (FieldRecord* f = field_record_of(c))
                f->chained_procedure = control_class_atoms().tab_proc;
        Leftovers l;
        if (!modal)
            l = leftovers_of(dialog, c);
        DestroyWindow(c);
        free_leftovers(l);
    }
    dialog_closing_mark(dialog, false);
    dialog_own_icon_replace(dialog, nullptr);
}

INT_PTR on_command(HWND dialog, WPARAM w, LPARAM l)
{
    DialogProcState& s = dialog_proc_state();
    DialogTable& t = table();
    const int code = HIWORD(w);
    const int id = LOWORD(w);
    HWND control = reinterpret_cast<HWND>(l);

    const bool button_command =
        code == 0 && (control == nullptr ||
                      (is_class(control, control_class_atoms().button) &&
                       (button_type(control) == BS_PUSHBUTTON || button_type(control) == BS_DEFPUSHBUTTON)));
    if (button_command) {
        HWND focus = GetFocus();
        if (numctl_validate(focus, focus, 0) != 0)
            s.pending_button = focus;
        if (s.pending_button != nullptr && id == IDOK) {
            HWND field = s.pending_button;
            s.pending_button = nullptr;
            dialog_beep(2);
            SetFocus(field);
            SendMessageA(field, EM_SETSEL, 0, -1);
            return TRUE;
        }
        if (s.pending_button != nullptr) {
            HWND field = s.pending_button;
            s.pending_button = nullptr;
            set_window_text(field, s.saved_text);
            if (FieldRecord* r = field_record_of(field))
                r->value = s.saved_value;
            SendMessageA(field, EM_SETMODIFY, FALSE, 0);
            s.snapshot_on_focus = 1;
        }
        if (in_modal(dialog)) {
            dialog_modal_instance_end(t.windows[0], dialog, id);
            return TRUE;
        }
        if (DialogRecord* r = dialog_record_of(dialog)) {
            if (GetFocus() == nullptr || GetFocus() != control)
                r->previous_field = r->current_field;
        }
        dialog_post_push_button(dialog, w, l);
        return TRUE;
    }
    if (code == 2) {
        const FieldRecord* f = field_record_of(control);
        if (!(f && (f->field_flags & 1)) && control != nullptr)
            field_press_default_button(control);
        return TRUE;
    }
    const bool change_code = code == 1 || code == 3 || code == 4 || code == 5 || code == 6 ||
                             code == 0x100 || code == 0x300 ||
                             (code == 0 && is_class(control, control_class_atoms().button));
    if (!change_code || t.creating || control == nullptr)
        return FALSE;
    if (code == 6 && !is_class(control, control_class_atoms().button))
        return FALSE;
    if (code == 0x300 || code == 5) {
        const FieldRecord* f = field_record_of(control);
        if (f == nullptr || f->change_reporting == 0)
            return FALSE;
    }
    DialogRecord* r = change_record(dialog);
    const bool was_current = r != nullptr && r->current_field == id;
    make_current(dialog, id);
    const bool focus_code = code == 0x100 || code == 3 || code == 4 || code == 6;
    if (!in_modal(dialog) && !(focus_code && was_current))
        dialog_post_field_changed(dialog, w, l);
    dialog_note_active_field(control);
    return TRUE;
}

INT_PTR on_tab_notify(HWND dialog, NMHDR* hdr)
{
    DialogProcState& s = dialog_proc_state();
    HWND tab = hdr->hwndFrom;
    HWND focus = GetFocus();
    if (focus != tab && numctl_validate(focus, focus, 0) != 0)
        s.pending_tab = focus;
    const int selected = static_cast<int>(SendMessageA(tab, TCM_GETCURSEL, 0, 0));
    int page_id = 0;
    tab_item_page(tab, selected, page_id);
    const int page_slot = dialog_index_by_id(page_id);
    HWND page = page_slot > 0 ? dialog_table().windows[static_cast<std::size_t>(page_slot)] : nullptr;
    DialogRecord* r = change_record(dialog);
    const bool pending = s.pending_tab != nullptr || s.pending_button != nullptr;
    if (hdr->code == static_cast<UINT>(TCN_SELCHANGING)) {
        if (pending) {
            s.remembered_tab_item = selected;
            dialog_beep(2);
        } else {
            if (page != nullptr)
                ShowWindow(page, SW_HIDE);
            if (r)
                r->tab_page_left = page_id;
        }
        return TRUE;
    }
    if (hdr->code == static_cast<UINT>(TCN_SELCHANGE)) {
        if (pending) {
            SendMessageA(tab, TCM_SETCURSEL, static_cast<WPARAM>(s.remembered_tab_item), 0);
            HWND field = s.pending_tab ? s.pending_tab : s.pending_button;
            SetFocus(field);
            return TRUE;
        }
        if (page != nullptr)
            SetWindowPos(page, tab, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW | SWP_NOACTIVATE);
        RedrawWindow(tab, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        if (page != nullptr && GetFocus() != tab)
            dialog_focus_first_tab_stop(tab, page, 1);
        if (page != nullptr)
            RedrawWindow(page, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        if (r)
            r->tab_page_entered = page_id;
        if (!in_modal(dialog))
            dialog_post_tab_changed(dialog, 0, 0);
        return TRUE;
    }
    return FALSE;
}

INT_PTR on_notify(HWND dialog, LPARAM l)
{
    if (table().creating)
        return FALSE;
    auto* hdr = reinterpret_cast<NMHDR*>(l);
    HWND from = hdr->hwndFrom;
    const ControlClassAtoms& atoms = control_class_atoms();
    if (is_class(from, atoms.tab))
        return on_tab_notify(dialog, hdr);
    if (is_class(from, atoms.treeview)) {
        const UINT code = hdr->code;
        if (code == TVN_SELCHANGEDA || code == TVN_SELCHANGEDW || code == TVN_ITEMEXPANDEDA ||
            code == TVN_ITEMEXPANDEDW) {
            make_current(dialog, GetDlgCtrlID(from), true);
            dialog_note_active_field(from);
            if (!in_modal(dialog))
                dialog_post_field_changed(dialog, static_cast<WPARAM>(hdr->idFrom), l);
            return TRUE;
        }
        if (code == static_cast<UINT>(NM_DBLCLK)) {
            HTREEITEM sel = reinterpret_cast<HTREEITEM>(SendMessageA(from, TVM_GETNEXTITEM, TVGN_CARET, 0));
            const FieldRecord* f = field_record_of(from);
            if (sel != nullptr &&
                SendMessageA(from, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(sel)) == 0 &&
                !(f && (f->field_flags & 1)))
                field_press_default_button(from);
        }
        return FALSE;
    }
    if (hdr->code == static_cast<UINT>(UDN_DELTAPOS) && is_class(from, atoms.updown)) {
        HWND buddy = reinterpret_cast<HWND>(SendMessageA(from, UDM_GETBUDDY, 0, 0));
        if (buddy != nullptr && is_number_field(buddy)) {
            set_result(dialog, numctl_spin_step(buddy, l));
            return TRUE;
        }
    }
    return FALSE;
}

INT_PTR on_scroll(HWND dialog, UINT message, WPARAM w, LPARAM l)
{
    HWND control = reinterpret_cast<HWND>(l);
    if (control == nullptr || LOWORD(w) == SB_ENDSCROLL)
        return FALSE;
    const ControlClassAtoms& atoms = control_class_atoms();
    if (is_class(control, atoms.trackbar)) {
        DialogProcState& s = dialog_proc_state();
        if ((GetWindowLongA(control, GWL_STYLE) & TBS_ENABLESELRANGE) && GetKeyState(VK_SHIFT) < 0) {
            const int pos = static_cast<int>(SendMessageA(control, TBM_GETPOS, 0, 0));
            SendMessageA(control, TBM_SETSELSTART, FALSE, std::min(pos, s.trackbar_anchor));
            SendMessageA(control, TBM_SETSELEND, TRUE, std::max(pos, s.trackbar_anchor));
        }
        if (!in_modal(dialog) && !table().creating) {
            make_current(dialog, GetDlgCtrlID(control));
            dialog_note_active_field(control);
            dialog_post_field_changed(dialog, static_cast<WPARAM>(GetDlgCtrlID(control)), l);
        }
        return TRUE;
    }
    if (message == WM_VSCROLL && is_class(control, atoms.updown)) {
        HWND spinner = reinterpret_cast<HWND>(SendMessageA(control, UDM_GETBUDDY, 0, 0));
        if (spinner == nullptr || !is_number_field(spinner) || in_modal(dialog) || table().creating)
            return FALSE;
        make_current(dialog, GetDlgCtrlID(spinner), true);
        dialog_note_active_field(spinner);
        const FieldRecord* partner = field_record_of(control);
        if (!(partner && partner->change_reporting))
            dialog_post_field_changed(dialog, static_cast<WPARAM>(GetDlgCtrlID(spinner)), -1);
        return TRUE;
    }
    return FALSE;
}

void graphics_mouse(HWND source, HWND dialog, UINT message, WPARAM w, LPARAM l, int field)
{
    DialogRecord* r = dialog_record_of(dialog);
    if (r == nullptr)
        return;
    int type = 0;
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_RBUTTONDOWN:
        SetCapture(source);
        type = event::mouse_down;
        break;
    case WM_LBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
        SetCapture(source);
        type = win_event_enable_get(event::double_click) ? event::double_click : event::mouse_down;
        break;
    case WM_LBUTTONUP:
    case WM_MBUTTONUP:
    case WM_RBUTTONUP:
        ReleaseCapture();
        type = event::mouse_up;
        break;
    case WM_MOUSEMOVE:
        type = event::mouse_move;
        break;
    default:
        return;
    }
    switch (message) {
    case WM_LBUTTONDOWN: case WM_LBUTTONDBLCLK: case WM_LBUTTONUP: r->mouse_button = 1; break;
    case WM_MBUTTONDOWN: case WM_MBUTTONDBLCLK: case WM_MBUTTONUP: r->mouse_button = 2; break;
    case WM_RBUTTONDOWN: case WM_RBUTTONDBLCLK: case WM_RBUTTONUP: r->mouse_button = 3; break;
    default: r->mouse_button = 0; break;
    }
    r->event_field = field;
    dialog_post_sub_window(dialog, type + event::field_offset, w, l, field);
}

bool is_mouse_message(UINT m)
{
    return m == WM_MOUSEMOVE || (m >= WM_LBUTTONDOWN && m <= WM_MBUTTONDBLCLK);
}

// ---- the dialog procedure's handlers ----

// Whether the dialog lives in the client window of a toolkit window.
bool inside_toolkit_window(HWND dialog)
{
    return is_class(GetParent(dialog), window_tables().client_class);
}

// A field whose class a plug-in brings reports a change (the grid's cell
// change): it becomes the current field and, outside the modal instance,
// the change is posted.
INT_PTR on_field_class_change(HWND dialog, WPARAM w, LPARAM l)
{
    if (table().creating)
        return FALSE;
    HWND field = GetDlgItem(dialog, static_cast<int>(w));
    make_current(dialog, static_cast<int>(w));
    if (!in_modal(dialog))
        dialog_post_field_changed(dialog, w, l);
    if (field != nullptr)
        dialog_note_active_field(field);
    set_result(dialog, 0);
    return TRUE;
}

// A resizable dialog is not made smaller than it was made.
INT_PTR on_min_max_info(const DialogRecord* r, MINMAXINFO& info)
{
    if (r == nullptr || r->reference_field == nullptr)
        return FALSE;
    info.ptMinTrackSize.x = r->minimum_width;
    info.ptMinTrackSize.y = r->minimum_height;
    return TRUE;
}

// The system menu follows the size state; a dialog with a size grip lays
// out its fields again, and a graphics dialog reports its resize.
INT_PTR on_size(HWND dialog, DialogRecord* r, WPARAM w, LPARAM l)
{
    system_menu_follow(dialog, w);
    const bool shown = w == SIZE_RESTORED || w == SIZE_MAXIMIZED;
    if (shown && dialog_has_size_grip(dialog))
        relayout(dialog, LOWORD(l), HIWORD(l));
    if (shown && r && r->graphics_dialog && !in_modal(dialog)) {
        r->event_field = 0;
        RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_NOCHILDREN);
        dialog_post_sub_window(dialog, event::resize + event::field_offset, w, l, 0);
    }
    return FALSE;
}

// A dialog inside a toolkit window gives the focus back to its active field.
INT_PTR on_set_focus(HWND dialog, const DialogRecord* r)
{
    if (r == nullptr || r->active_field == nullptr || !inside_toolkit_window(dialog))
        return FALSE;
    SetFocus(r->active_field);
    return TRUE;
}

// A click into a dialog inside a toolkit window: a dialog of its own comes
// to the top with the focus and becomes the active one; one that lives in
// a window makes that window active.
INT_PTR on_mouse_activate(HWND dialog, const DialogRecord* r)
{
    if (r == nullptr || !inside_toolkit_window(dialog))
        return FALSE;
    if (r->host_window == nullptr) {
        SetWindowPos(dialog, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        HWND focus = GetFocus();
        if (focus == nullptr || (focus != dialog && !IsChild(dialog, focus)))
            SetFocus(dialog);
        window_tables().active_dialog = dialog;
        win_activate(dialog);
    } else if (GetActiveWindow() != r->host_window) {
        win_activate(r->host_window);
    }
    return FALSE;
}

INT_PTR on_activate(HWND dialog, WPARAM w)
{
    WindowTables& tables = window_tables();
    if (LOWORD(w) == WA_INACTIVE) {
        if (tables.active_dialog == dialog)
            tables.active_dialog = nullptr;
        tables.last_active = dialog;
    } else {
        tables.active_dialog = dialog;
    }
    return FALSE;
}

// A child dialog's caption or system-menu box clicked with the right button
// shows the system menu, with Restore or else Close as its default item.
INT_PTR on_caption_right_click(HWND dialog, WPARAM hit, LPARAM l)
{
    if (!(GetWindowLongA(dialog, GWL_STYLE) & WS_CHILD) || (hit != HTCAPTION && hit != HTSYSMENU))
        return FALSE;
    HMENU menu = GetSystemMenu(dialog, FALSE);
    if (menu != nullptr) {
        const UINT state = GetMenuState(menu, SC_RESTORE, MF_BYCOMMAND);
        SetMenuDefaultItem(menu, (state & MF_GRAYED) ? SC_CLOSE : SC_RESTORE, FALSE);
        const UINT cmd = TrackPopupMenu(menu, TPM_RETURNCMD, static_cast<short>(LOWORD(l)),
                                        static_cast<short>(HIWORD(l)), 0, dialog, nullptr);
        if (cmd != 0)
            SendMessageA(dialog, WM_SYSCOMMAND, cmd, 0);
    }
    return TRUE;
}

// The dialog's record goes with its window.
INT_PTR on_nc_destroy(HWND dialog)
{
    field_cache_clear();
    if (DialogRecord* own = dialog_record_detach(dialog)) {
        DialogTable& t = table();
        if (t.loading_record == own)
            t.loading_record = nullptr;
        delete own;
    }
    return FALSE;
}

// A snapshot taken while a blocking dialog runs stands in for the dialog;
// otherwise a graphics dialog reports its expose.
INT_PTR on_paint(HWND dialog, DialogRecord* r, WPARAM w, LPARAM l)
{
    if (in_modal(dialog))
        return FALSE;
    if (paint_snapshot(dialog))
        return TRUE;
    if (r != nullptr && r->graphics_dialog && !table().snapshots_taken) {
        r->event_field = 0;
        dialog_post_sub_window(dialog, event::expose + event::field_offset, w, l, 0);
    }
    return FALSE;
}

// F1 is push button 9.
INT_PTR on_help(HWND dialog, DialogRecord* r)
{
    if (!in_modal(dialog) && r != nullptr) {
        if (GetDlgCtrlID(GetFocus()) != 9)
            r->previous_field = r->current_field;
        dialog_post_push_button(dialog, 9, 0);
    }
    return TRUE;
}

// A child dialog's system-menu commands come as commands of its own; they
// go on as system commands. Every other command is the fields'.
INT_PTR on_command_message(HWND dialog, WPARAM w, LPARAM l)
{
    if (HIWORD(w) == 0 && l == 0 && (GetWindowLongA(dialog, GWL_STYLE) & WS_CHILD)) {
        const int cmd = LOWORD(w);
        if (cmd == SC_MAXIMIZE || cmd == SC_SIZE || cmd == SC_MOVE || cmd == SC_MINIMIZE || cmd == SC_CLOSE ||
            cmd == SC_RESTORE) {
            SendMessageA(dialog, WM_SYSCOMMAND, static_cast<WPARAM>(cmd), 0);
            return TRUE;
        }
    }
    return on_command(dialog, w, l);
}

} // namespace

INT_PTR dialog_init_fields(HWND dialog, DialogRecord* record)
{
    DialogTable& t = table();
    init_system_menu(dialog);
    const ControlClassAtoms& atoms = control_class_atoms();
    for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        if (!is_number_field(c)) {
            auto* f = new (std::nothrow) FieldRecord;
            if (f == nullptr)
                continue;
            field_record_attach(c, f);
        }
        FieldRecord* f = field_record_of(c);
        if (f == nullptr)
            continue;
        LONG style = GetWindowLongA(c, GWL_STYLE);
        if (is_class(c, atoms.edit)) {
            subclass(c, field_edit_proc);
            f->maximum_length = (style & ES_MULTILINE) ? 65535 : 32767;
            SendMessageA(c, EM_LIMITTEXT, static_cast<WPARAM>(f->maximum_length), 0);
        } else if (is_class(c, atoms.button)) {
            const int type = static_cast<int>(style & 0xF);
            if (type == BS_CHECKBOX || type == BS_3STATE || type == BS_AUTO3STATE)
                style = (style & ~0xF) | BS_AUTOCHECKBOX;
            else if (type == BS_RADIOBUTTON)
                style = (style & ~0xF) | BS_AUTORADIOBUTTON;
            SetWindowLongA(c, GWL_STYLE, style);
            if (style & (BS_BITMAP | BS_ICON))
                load_button_image(c);
            style = GetWindowLongA(c, GWL_STYLE);
            subclass(c, field_button_proc);
        } else if (is_class(c, atoms.static_text)) {
            load_static_picture(c);
            subclass(c, field_picture_proc);
        } else if (is_class(c, atoms.trackbar)) {
            subclass(c, field_trackbar_proc);
        } else if (is_class(c, atoms.tab)) {
            SendMessageA(c, TCM_SETITEMEXTRA, 8, 0);
            subclass(c, field_tab_proc);
        } else if (is_class(c, atoms.treeview)) {
            style |= TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_DISABLEDRAGDROP |
                     TVS_SHOWSELALWAYS;
            subclass(c, field_tree_proc);
        }
        SetWindowLongA(c, GWL_STYLE, style);
        LONG ex = GetWindowLongA(c, GWL_EXSTYLE) & ~WS_EX_NOPARENTNOTIFY;
        const bool group_box = is_class(c, atoms.button) && (style & 0xF) == BS_GROUPBOX;
        const int frame = low_style5(c);
        const bool frame_static = is_class(c, atoms.static_text) &&
                                  (frame == 7 || frame == 8 || frame == 9 || frame == 18);
        if (group_box || frame_static)
            ex |= WS_EX_TRANSPARENT;
        SetWindowLongA(c, GWL_EXSTYLE, ex);
        f->chained_procedure = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(c, GWLP_WNDPROC));
        subclass(c, field_frame_proc);
    }
    const bool modal = record == nullptr;
    if (!modal) {
        dialog_record_attach(dialog, record);
        HWND root = window_tables().windows[0].frame;
        if (root != nullptr) {
            HICON icon = reinterpret_cast<HICON>(GetClassLongPtrA(root, GCLP_HICON));
            if (icon != nullptr)
                SendMessageA(dialog, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
        }
        RECT rc{};
        GetWindowRect(dialog, &rc);
        record->minimum_width = rc.right - rc.left;
        record->minimum_height = rc.bottom - rc.top;
    } else if (!dialog_modal_instance_init(dialog)) {
        t.creating = 0;
        EndDialog(dialog, -1);
        return FALSE;
    }
    SetWindowLongA(dialog, GWL_EXSTYLE, GetWindowLongA(dialog, GWL_EXSTYLE) | WS_EX_APPWINDOW);
    HWND focus = t.show_focus != 0 ? GetDlgItem(dialog, t.show_focus) : nullptr;
    if (focus != nullptr) {
        SetFocus(focus);
        field_select_text(focus);
        t.creating = 0;
        return FALSE;
    }
    t.creating = 0;
    return modal ? TRUE : FALSE;
}

INT_PTR CALLBACK dialog_procedure(HWND dialog, UINT message, WPARAM w, LPARAM l)
{
    if (field_class_hooks_by_message(message) != nullptr)
        return on_field_class_change(dialog, w, l);
    DialogRecord* r = dialog_record_of(dialog);
    switch (message) {
    case WM_INITDIALOG:
        return dialog_init_fields(dialog, reinterpret_cast<DialogRecord*>(l));
    case WM_GETMINMAXINFO:
        return on_min_max_info(r, *reinterpret_cast<MINMAXINFO*>(l));
    case WM_SIZE:
        return on_size(dialog, r, w, l);
    case WM_SETFOCUS:
        return on_set_focus(dialog, r);
    case WM_MOUSEACTIVATE:
        return on_mouse_activate(dialog, r);
    case WM_ACTIVATE:
        return on_activate(dialog, w);
    case WM_NCRBUTTONUP:
        return on_caption_right_click(dialog, w, l);
    case WM_DESTROY:
        on_destroy(dialog);
        return FALSE;
    case WM_PARENTNOTIFY:
        if (LOWORD(w) == WM_CREATE || LOWORD(w) == WM_DESTROY)
            field_cache_clear();
        return FALSE;
    case WM_NCDESTROY:
        return on_nc_destroy(dialog);
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
        return static_cast<INT_PTR>(
            dialog_field_colours(dialog, message, reinterpret_cast<HDC>(w), reinterpret_cast<HWND>(l)));
    case WM_PAINT:
        return on_paint(dialog, r, w, l);
    case WM_HSCROLL:
    case WM_VSCROLL:
        return on_scroll(dialog, message, w, l);
    case WM_HELP:
        return on_help(dialog, r);
    case WM_COMMAND:
        return on_command_message(dialog, w, l);
    case WM_NOTIFY:
        return on_notify(dialog, l);
    default:
        break;
    }
    if (is_mouse_message(message) && r != nullptr && r->graphics_dialog && !in_modal(dialog)) {
        graphics_mouse(dialog, dialog, message, w, l, 0);
        return TRUE;
    }
    return FALSE;
}

LRESULT CALLBACK field_frame_proc(HWND w, UINT m, WPARAM wp, LPARAM lp)
{
    FieldRecord* f = field_record_of(w);
    WNDPROC chained = f ? f->chained_procedure : nullptr;
    if (chained == nullptr)
        return DefWindowProcA(w, m, wp, lp);
    const bool graphics = f->graphics_field != 0;
    const LRESULT result = CallWindowProcA(chained, w, m, wp, lp);
    if (m == WM_NCDESTROY) {
        // The chained procedure may have freed a number field's record already.
        delete field_record_detach(w);
        field_cache_clear();
        return result;
    }
    if (graphics && (m == WM_PAINT || m == WM_SIZE)) {
        HWND dialog = GetParent(w);
        if (!in_modal(w)) {
            if (DialogRecord* r = dialog_record_of(dialog)) {
                r->event_field = GetDlgCtrlID(w);
                if (m == WM_SIZE)
                    RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_NOCHILDREN);
                dialog_post_sub_window(dialog, (m == WM_PAINT ? event::expose : event::resize) + event::field_offset,
                                       wp, lp, GetDlgCtrlID(w));
            }
        }
    }
    return result;
}

LRESULT CALLBACK field_button_proc(HWND w, UINT m, WPARAM wp, LPARAM lp)
{
    const WNDPROC base = control_class_atoms().button_proc;
    DialogProcState& s = dialog_proc_state();
    switch (m) {
    case WM_SETFOCUS: {
        const LRESULT result = call_class(base, w, m, wp, lp);
        SendMessageA(GetParent(w), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(w), 6), reinterpret_cast<LPARAM>(w));
        return result;
    }
    case BM_SETSTATE: {
        const bool before = (SendMessageA(w, BM_GETSTATE, 0, 0) & BST_PUSHED) != 0;
        const LRESULT result = call_class(base, w, m, wp, lp);
        const bool after = (SendMessageA(w, BM_GETSTATE, 0, 0) & BST_PUSHED) != 0;
        const FieldRecord* f = field_record_of(w);
        if (before != after && f && f->graphics_field && !in_modal(w)) {
            HWND dialog = GetParent(w);
            if (DialogRecord* r = dialog_record_of(dialog)) {
                r->event_field = GetDlgCtrlID(w);
                dialog_post_sub_window(dialog, event::expose + event::field_offset, 0, 0, GetDlgCtrlID(w));
            }
        }
        return result;
    }
    case WM_KILLFOCUS:
        if (s.pending_button != nullptr && s.restore_on_release == 1 && is_push_button(w))
            field_refocus_invalid(w, s.pending_button, 1);
        break;
    case WM_LBUTTONUP:
        if (s.pending_button != nullptr && is_push_button(w)) {
            RECT rc{};
            GetClientRect(w, &rc);
            const POINT p{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
            if (!PtInRect(&rc, p)) {
                s.restore_on_release = 0;
                field_refocus_invalid(w, s.pending_button, 0);
                s.restore_on_release = 1;
            }
        }
        break;
    default:
        break;
    }
    return call_class(base, w, m, wp, lp);
}

LRESULT CALLBACK field_trackbar_proc(HWND w, UINT m, WPARAM wp, LPARAM lp)
{
    const WNDPROC base = control_class_atoms().trackbar_proc;
    DialogProcState& s = dialog_proc_state();
    const bool selection = (GetWindowLongA(w, GWL_STYLE) & TBS_ENABLESELRANGE) != 0;
    switch (m) {
    case WM_SETFOCUS: {
        const LRESULT result = call_class(base, w, m, wp, lp);
        SendMessageA(GetParent(w), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(w), 0x100), reinterpret_cast<LPARAM>(w));
        return result;
    }
    case WM_KILLFOCUS:
        s.trackbar_anchor = 0;
        break;
    case WM_KEYDOWN:
        if (selection && !(lp & (1 << 30))) {
            bool changed = false;
            if (wp == VK_SHIFT) {
                s.trackbar_anchor = static_cast<int>(SendMessageA(w, TBM_GETPOS, 0, 0));
            } else if (wp == VK_DELETE) {
                SendMessageA(w, TBM_CLEARSEL, TRUE, 0);
                s.trackbar_anchor = 0;
                changed = true;
            } else if (wp == 'A' && GetKeyState(VK_CONTROL) < 0) {
                const LRESULT lo = SendMessageA(w, TBM_GETRANGEMIN, 0, 0);
                const LRESULT hi = SendMessageA(w, TBM_GETRANGEMAX, 0, 0);
                SendMessageA(w, TBM_SETSELSTART, FALSE, lo);
                SendMessageA(w, TBM_SETSELEND, TRUE, hi);
                changed = true;
            }
            HWND dialog = GetParent(w);
            if (changed && !in_modal(w) && !table().creating) {
                make_current(dialog, GetDlgCtrlID(w));
                dialog_note_active_field(w);
                dialog_post_field_changed(dialog, static_cast<WPARAM>(GetDlgCtrlID(w)), -1);
            }
        }
        break;
    case WM_KEYUP:
        if (selection && wp == VK_SHIFT) {
            if (SendMessageA(w, TBM_GETSELSTART, 0, 0) == SendMessageA(w, TBM_GETSELEND, 0, 0))
                SendMessageA(w, TBM_CLEARSEL, TRUE, 0);
            s.trackbar_anchor = 0;
        }
        break;
    default:
        break;
    }
    return call_class(base, w, m, wp, lp);
}

LRESULT CALLBACK field_picture_proc(HWND w, UINT m, WPARAM wp, LPARAM lp)
{
    const WNDPROC base = control_class_atoms().static_proc;
    const FieldRecord* f = field_record_of(w);
    const bool graphics = f != nullptr && f->graphics_field != 0;
    if (m == WM_SETCURSOR && graphics && LOWORD(lp) == HTCLIENT) {
        // The field's own cursor, else the toolkit's pointer cursor.
        HCURSOR cursor = f->cursor ? f->cursor : window_proc_state().default_cursor;
        if (cursor != nullptr) {
            SetCursor(cursor);
            return 0;
        }
    }
    if (m == WM_NCHITTEST && (GetWindowLongA(w, GWL_STYLE) & SS_NOTIFY))
        return HTCLIENT;
    if (m == WM_ENABLE)
        return 0;
    if (is_mouse_message(m)) {
        if (graphics && !in_modal(w))
            graphics_mouse(w, GetParent(w), m, wp, lp, GetDlgCtrlID(w));
        return 0;
    }
    return call_class(base, w, m, wp, lp);
}

LRESULT CALLBACK field_edit_proc(HWND w, UINT m, WPARAM wp, LPARAM lp)
{
    const WNDPROC base = control_class_atoms().edit_proc;
    if (m == WM_CHAR && wp == 1) {
        SendMessageA(w, EM_SETSEL, 0, -1);
        SendMessageA(w, EM_SCROLLCARET, 0, 0);
        return 0;
    }
    if (m == WM_KEYDOWN && wp == VK_RETURN && !(GetWindowLongA(w, GWL_STYLE) & ES_WANTRETURN) &&
        GetKeyState(VK_CONTROL) >= 0 && GetKeyState(VK_MENU) >= 0) {
        field_press_default_button(w);
        return 0;
    }
    return call_class(base, w, m, wp, lp);
}

LRESULT CALLBACK field_tree_proc(HWND w, UINT m, WPARAM wp, LPARAM lp)
{
    const WNDPROC base = control_class_atoms().treeview_proc;
    if (m == WM_SETFOCUS && !table().creating) {
        HWND dialog = GetParent(w);
        const int id = GetDlgCtrlID(w);
        DialogRecord* r = change_record(dialog);
        const bool was_current = r != nullptr && r->current_field == id;
        make_current(dialog, id);
        if (!in_modal(w) && !was_current)
            dialog_post_field_changed(dialog, static_cast<WPARAM>(id), static_cast<LPARAM>(wp));
    }
    return call_class(base, w, m, wp, lp);
}

void dialog_draw_transparent_bitmap(HBITMAP bitmap)
{
    BITMAP info{};
    if (GetObjectA(bitmap, sizeof info, &info) == 0)
        return;
    HDC screen = GetDC(nullptr);
    HDC image = CreateCompatibleDC(screen);
    HDC face = CreateCompatibleDC(screen);
    HDC mask = CreateCompatibleDC(screen);
    HBITMAP face_bmp = CreateCompatibleBitmap(screen, info.bmWidth, info.bmHeight);
    HBITMAP mask_bmp = CreateBitmap(info.bmWidth, info.bmHeight, 1, 1, nullptr);
    HGDIOBJ old_image = SelectObject(image, bitmap);
    HGDIOBJ old_face = SelectObject(face, face_bmp);
    HGDIOBJ old_mask = SelectObject(mask, mask_bmp);
    RECT all{0, 0, info.bmWidth, info.bmHeight};
    FillRect(face, &all, GetSysColorBrush(COLOR_BTNFACE));
    SetBkColor(image, GetPixel(image, 0, 0));
    // Mask: 1 where the bitmap shows its background colour.
    BitBlt(mask, 0, 0, info.bmWidth, info.bmHeight, image, 0, 0, SRCCOPY);
    // Monochrome sources map 1 to the destination's background colour.
    SetBkColor(image, RGB(255, 255, 255));
    SetTextColor(image, RGB(0, 0, 0));
    // Face colour where the mask is set, the bitmap's pixels elsewhere.
    BitBlt(face, 0, 0, info.bmWidth, info.bmHeight, mask, 0, 0, SRCAND);
    BitBlt(image, 0, 0, info.bmWidth, info.bmHeight, mask, 0, 0, 0x00220326); // dest & ~mask
    BitBlt(image, 0, 0, info.bmWidth, info.bmHeight, face, 0, 0, SRCPAINT);
    SelectObject(image, old_image);
    SelectObject(face, old_face);
    SelectObject(mask, old_mask);
    DeleteObject(face_bmp);
    DeleteObject(mask_bmp);
    DeleteDC(image);
    DeleteDC(face);
    DeleteDC(mask);
    ReleaseDC(nullptr, screen);
}

} // namespace korv
