// Copying a dialog's contents between a loaded dialog and its modal
// instance, both made from one template, field by field.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "dialogs/dialog_internal.h"
#include "dialogs/field_classes.h"

namespace korv {

namespace {

// Window texts and item texts are copied up to this many characters.
constexpr int text_limit = 65535;

// The fields of a dialog in window order, without the tab pages it shows.
std::vector<HWND> fields_of(HWND dialog)
{
    std::vector<HWND> out;
    for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        if (!is_dialog_window(c))
            out.push_back(c);
    return out;
}

bool is_partner(HWND dialog, HWND w)
{
    for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        if (const FieldRecord* f = field_record_of(c); f && f->updown_partner == w)
            return true;
    return false;
}

void copy_record(const FieldRecord& s, FieldRecord& d)
{
    d.value = s.value;
    d.minimum = s.minimum;
    d.maximum = s.maximum;
    d.small_step = s.small_step;
    d.large_step = s.large_step;
    d.step_base = s.step_base;
    d.has_value = s.has_value;
    d.foreground = s.foreground;
    d.background = s.background;
    d.tab_flag = s.tab_flag;
    d.maximum_length = s.maximum_length;
    d.format = s.format;
    d.right_margin = s.right_margin;
    d.bottom_margin = s.bottom_margin;
    d.anchor_flags = s.anchor_flags;
    d.field_flags = s.field_flags;
}

std::string item_text(HWND w, UINT length_message, UINT text_message, int index)
{
    const LRESULT n = SendMessageA(w, length_message, static_cast<WPARAM>(index), 0);
    if (n <= 0)
        return {};
    std::string text(static_cast<std::size_t>(n) + 1, '\0');
    const LRESULT got = SendMessageA(w, text_message, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(std::clamp<LRESULT>(got, 0, n)));
    return text;
}

void copy_combo(HWND s, HWND d, const FieldRecord* rs)
{
    SendMessageA(d, CB_RESETCONTENT, 0, 0);
    const int count = static_cast<int>(SendMessageA(s, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        const std::string t = item_text(s, CB_GETLBTEXTLEN, CB_GETLBTEXT, i);
        SendMessageA(d, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(t.c_str()));
    }
    const LRESULT sel = SendMessageA(s, CB_GETCURSEL, 0, 0);
    if (sel != CB_ERR)
        SendMessageA(d, CB_SETCURSEL, static_cast<WPARAM>(sel), 0);
    if (rs != nullptr)
        SendMessageA(d, CB_LIMITTEXT, static_cast<WPARAM>(rs->maximum_length), 0);
}

void copy_list(HWND s, HWND d, const FieldRecord* rs)
{
    SendMessageA(d, LB_RESETCONTENT, 0, 0);
    if (rs != nullptr && !rs->tab_stops.empty()) {
        std::vector<int> stops = rs->tab_stops;
        SendMessageA(d, LB_SETTABSTOPS, stops.size(), reinterpret_cast<LPARAM>(stops.data()));
    }
    const int count = static_cast<int>(SendMessageA(s, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        const std::string t = item_text(s, LB_GETTEXTLEN, LB_GETTEXT, i);
        SendMessageA(d, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(t.c_str()));
    }
    if (GetWindowLongA(s, GWL_STYLE) & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL)) {
        for (int i = 0; i < count; ++i)
            SendMessageA(d, LB_SETSEL, SendMessageA(s, LB_GETSEL, static_cast<WPARAM>(i), 0) > 0, i);
    } else {
        const LRESULT sel = SendMessageA(s, LB_GETCURSEL, 0, 0);
        if (sel != LB_ERR)
            SendMessageA(d, LB_SETCURSEL, static_cast<WPARAM>(sel), 0);
    }
}

void copy_progress(HWND s, HWND d)
{
    const LRESULT range = SendMessageA(s, PBM_SETRANGE, 0, MAKELPARAM(0, 65535));
    SendMessageA(s, PBM_SETRANGE, 0, range);
    const LRESULT pos = SendMessageA(s, PBM_SETPOS, 0, 0);
    SendMessageA(s, PBM_SETPOS, static_cast<WPARAM>(pos), 0);
    SendMessageA(d, PBM_SETRANGE, 0, range);
    SendMessageA(d, PBM_SETPOS, static_cast<WPARAM>(pos), 0);
}

struct TabItemData {
    TCITEMHEADERA header;
    int page;
    int disabled;
};

void copy_tab(HWND s, HWND d)
{
    SendMessageA(d, TCM_DELETEALLITEMS, 0, 0);
    const int count = static_cast<int>(SendMessageA(s, TCM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        char text[1026] = {};
        TabItemData item{};
        item.header.mask = TCIF_TEXT | TCIF_PARAM;
        item.header.pszText = text;
        item.header.cchTextMax = 1025;
        SendMessageA(s, TCM_GETITEMA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
        text[1025] = '\0';
        item.header.pszText = text;
        SendMessageA(d, TCM_INSERTITEMA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
    }
    SendMessageA(d, TCM_SETCURSEL, static_cast<WPARAM>(SendMessageA(s, TCM_GETCURSEL, 0, 0)), 0);
}

void copy_trackbar(HWND s, HWND d)
{
    const LRESULT lo = SendMessageA(s, TBM_GETRANGEMIN, 0, 0);
    const LRESULT hi = SendMessageA(s, TBM_GETRANGEMAX, 0, 0);
    SendMessageA(d, TBM_SETRANGEMIN, FALSE, lo);
    SendMessageA(d, TBM_SETRANGEMAX, FALSE, hi);
    if (GetWindowLongA(s, GWL_STYLE) & TBS_ENABLESELRANGE) {
        SendMessageA(d, TBM_SETSELSTART, FALSE, SendMessageA(s, TBM_GETSELSTART, 0, 0));
        SendMessageA(d, TBM_SETSELEND, FALSE, SendMessageA(s, TBM_GETSELEND, 0, 0));
    }
    SendMessageA(d, TBM_SETPAGESIZE, 0, SendMessageA(s, TBM_GETPAGESIZE, 0, 0));
    SendMessageA(d, TBM_SETLINESIZE, 0, SendMessageA(s, TBM_GETLINESIZE, 0, 0));
    const LRESULT ticks = SendMessageA(s, TBM_GETNUMTICS, 0, 0);
    if (ticks >= 2)
        SendMessageA(d, TBM_SETTICFREQ, static_cast<WPARAM>((hi - lo) / (ticks - 1)), 0);
    SendMessageA(d, TBM_SETPOS, TRUE, SendMessageA(s, TBM_GETPOS, 0, 0));
}

void copy_edit(HWND s, HWND d, const FieldRecord* rs)
{
    if (rs != nullptr) {
        SendMessageA(d, EM_LIMITTEXT, static_cast<WPARAM>(rs->maximum_length), 0);
        if (!rs->tab_stops.empty()) {
            std::vector<int> stops = rs->tab_stops;
            SendMessageA(d, EM_SETTABSTOPS, stops.size(), reinterpret_cast<LPARAM>(stops.data()));
        }
    }
    SendMessageA(d, EM_SETREADONLY, (GetWindowLongA(s, GWL_STYLE) & ES_READONLY) != 0, 0);
}

// The instance shows its dialog's pictures; a picture the instance loaded
// for itself when it was made is freed, since nothing else would free it.
void share_picture(HWND d, UINT message, UINT type, LRESULT picture, bool into_instance)
{
    const LRESULT old = SendMessageA(d, message, type, picture);
    if (!into_instance || old == 0 || old == picture)
        return;
    if (type == IMAGE_BITMAP)
        DeleteObject(reinterpret_cast<HGDIOBJ>(old));
    else if (type == IMAGE_ICON)
        DestroyIcon(reinterpret_cast<HICON>(old));
    else if (type == IMAGE_ENHMETAFILE)
        DeleteEnhMetaFile(reinterpret_cast<HENHMETAFILE>(old));
}

void copy_tree(HWND s, HWND d)
{
    const LONG style = GetWindowLongA(d, GWL_STYLE);
    SetWindowLongA(d, GWL_STYLE, style | WS_VSCROLL);
    SendMessageA(d, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
    SetWindowLongA(d, GWL_STYLE, GetWindowLongA(d, GWL_STYLE) & ~WS_VSCROLL);
    auto root = reinterpret_cast<HTREEITEM>(SendMessageA(s, TVM_GETNEXTITEM, TVGN_ROOT, 0));
    if (root != nullptr)
        field_tree_copy_items(d, TVI_ROOT, s, root);
}

} // namespace

void dialog_copy_field_contents(HWND destination, HWND source)
{
    if (destination == nullptr || source == nullptr)
        return;
    DialogRecord* rd = dialog_record_of(destination);
    const DialogRecord* rs = dialog_record_of(source);
    if (rd != nullptr && rs != nullptr)
        *rd = *rs;

    const std::string title = window_text(source, text_limit);
    set_window_text(destination, title);
    SendMessageA(destination, WM_SETICON, ICON_BIG, SendMessageA(source, WM_GETICON, ICON_BIG, 0));
    RECT rc{};
    GetWindowRect(source, &rc);
    if (GetWindowLongA(destination, GWL_STYLE) & WS_CHILD)
        MapWindowPoints(nullptr, GetParent(destination), reinterpret_cast<POINT*>(&rc), 2);
    SetWindowPos(destination, nullptr, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    // The instance gets a size grip of its own when the dialog has one; the
    // walk below then points its reference field at its own window.
    if (destination == dialog_table().windows[0] && rd != nullptr)
        dialog_add_size_grip(destination);

    const bool into_instance = destination == dialog_table().windows[0];
    const std::vector<HWND> from = fields_of(source);
    const std::vector<HWND> to = fields_of(destination);
    const ControlClassAtoms& a = control_class_atoms();
    const std::size_t n = std::min(from.size(), to.size());
    for (std::size_t i = 0; i < n; ++i) {
        HWND s = from[i];
        HWND d = to[i];
        if (rs != nullptr && rd != nullptr && s == rs->reference_field)
            rd->reference_field = d;
        SetWindowLongA(d, GWL_STYLE, GetWindowLongA(s, GWL_STYLE));
        RECT fr{};
        GetWindowRect(s, &fr);
        MapWindowPoints(nullptr, source, reinterpret_cast<POINT*>(&fr), 2);
        SetWindowPos(d, nullptr, fr.left, fr.top, fr.right - fr.left, fr.bottom - fr.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        if (is_partner(source, s) || is_class(s, a.scrollbar))
            continue;
        const FieldRecord* fs = field_record_of(s);
        FieldRecord* fd = field_record_of(d);
        if (fs != nullptr && fd != nullptr)
            copy_record(*fs, *fd);

        if (is_class(s, a.button)) {
            SendMessageA(d, BM_SETCHECK, SendMessageA(s, BM_GETCHECK, 0, 0), 0);
            const LONG style = GetWindowLongA(s, GWL_STYLE);
            if (style & BS_BITMAP)
                share_picture(d, BM_SETIMAGE, IMAGE_BITMAP, SendMessageA(s, BM_GETIMAGE, IMAGE_BITMAP, 0), into_instance);
            else if (style & BS_ICON)
                share_picture(d, BM_SETIMAGE, IMAGE_ICON, SendMessageA(s, BM_GETIMAGE, IMAGE_ICON, 0), into_instance);
        } else if (is_class(s, a.static_text)) {
            const int type = static_cast<int>(GetWindowLongA(s, GWL_STYLE) & 0x1F);
            const UINT image = type == SS_BITMAP ? IMAGE_BITMAP
                               : type == SS_ICON ? IMAGE_ICON
                               : type == SS_ENHMETAFILE ? IMAGE_ENHMETAFILE
                                                        : 0xFFFF;
            if (image != 0xFFFF)
                share_picture(d, STM_SETIMAGE, image, SendMessageA(s, STM_GETIMAGE, image, 0), into_instance);
        } else if (is_class(s, a.combobox)) {
            copy_combo(s, d, fs);
        } else if (is_class(s, a.listbox)) {
            copy_list(s, d, fs);
        } else if (is_class(s, a.progress)) {
            copy_progress(s, d);
        } else if (is_class(s, a.tab)) {
            copy_tab(s, d);
        } else if (is_class(s, a.trackbar)) {
            copy_trackbar(s, d);
        } else if (is_edit_family(s)) {
            copy_edit(s, d, fs);
        } else if (is_class(s, a.treeview)) {
            copy_tree(s, d);
        } else if (const FieldClassHooks* h = field_class_hooks(s); h != nullptr && h->copy_from != nullptr) {
            h->copy_from(d, s);
        }

        if (!is_class(s, a.tab))
            set_window_text(d, window_text(s, text_limit));
        if (is_edit_family(s))
            SendMessageA(d, EM_SETMODIFY, SendMessageA(s, EM_GETMODIFY, 0, 0), 0);
        const BOOL enabled = IsWindowEnabled(s);
        EnableWindow(d, !enabled);
        EnableWindow(d, enabled);
        SendMessageA(d, WM_SETFONT, SendMessageA(s, WM_GETFONT, 0, 0), FALSE);
        if (fs != nullptr && fd != nullptr && fs->updown_partner && fd->updown_partner) {
            int lo = 0;
            int hi = 0;
            SendMessageA(fs->updown_partner, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&lo),
                         reinterpret_cast<LPARAM>(&hi));
            SendMessageA(fd->updown_partner, UDM_SETRANGE32, static_cast<WPARAM>(lo), hi);
            UDACCEL accel[2] = {};
            const LRESULT count = SendMessageA(fs->updown_partner, UDM_GETACCEL, 2, reinterpret_cast<LPARAM>(accel));
            SendMessageA(fd->updown_partner, UDM_SETACCEL, static_cast<WPARAM>(std::min<LRESULT>(count, 2)),
                         reinterpret_cast<LPARAM>(accel));
        }
    }
}

} // namespace korv
