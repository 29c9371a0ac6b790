// Applies a dialog's extras block to its windows: items, ranges, checks,
// tab pages, colours, trackbar settings, text limits, resizing rules,
// formats, tree contents, fonts and field flags.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "korvanthide/window.h"
#include "core/win_module.h"
#include "dialogs/dialog_internal.h"
#include "dialogs/field_classes.h"
#include "dialogs/extras_reader.h"
#include "dialogs/number_text.h"

namespace korv {

namespace {

int truncated(double v)
{
    const double t = std::trunc(v);
    if (!(t >= std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    if (!(t <= std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    return static_cast<int>(t);
}

// A control's template text read as a number (its first 17 characters).
int text_position(HWND control)
{
    return truncated(number_text_value(window_text(control, 17)));
}

class ApplySink : public ExtrasSink {
public:
    ApplySink(HWND dialog, int slot) : dialog_(dialog), slot_(slot) {}

    void range(int f, std::string_view lo_text, std::string_view hi_text) override
    {
        const double lo = number_text_value(lo_text);
        const double hi = number_text_value(hi_text);
        HWND w = GetDlgItem(dialog_, f);
        const ControlClassAtoms& a = control_class_atoms();
        if (w != nullptr && is_class(w, a.progress)) {
            SendMessageA(w, PBM_SETRANGE, 0,
                         MAKELPARAM(static_cast<WORD>(truncated(lo)), static_cast<WORD>(truncated(hi))));
            SendMessageA(w, PBM_SETPOS, static_cast<WPARAM>(text_position(w)), 0);
        } else if (w != nullptr && is_class(w, a.trackbar)) {
            SendMessageA(w, TBM_SETRANGEMIN, FALSE, truncated(lo));
            SendMessageA(w, TBM_SETRANGEMAX, FALSE, truncated(hi));
            SendMessageA(w, TBM_SETPOS, TRUE, text_position(w));
        } else {
            int field = f;
            field_set_number_range(field, lo, hi, dialog_);
        }
    }

    void menu(int f, int selected, const std::vector<std::string>& items) override
    {
        HWND w = GetDlgItem(dialog_, f);
        if (w == nullptr)
            return;
        const bool list = is_class(w, control_class_atoms().listbox);
        SendMessageA(w, list ? LB_RESETCONTENT : CB_RESETCONTENT, 0, 0);
        for (const std::string& item : items)
            SendMessageA(w, list ? LB_ADDSTRING : CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
        const int index = slot_ == -1 ? 0 : selected - 1;
        if (slot_ == -1 || selected > 0)
            SendMessageA(w, list ? LB_SETCURSEL : CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    }

    void check(int f, int state) override
    {
        if (HWND w = GetDlgItem(dialog_, f))
            SendMessageA(w, BM_SETCHECK, static_cast<WPARAM>(state), 0);
    }

    void tab_page(int f, int page, std::string_view caption) override
    {
        if (!in_tabs_) {
            in_tabs_ = true;
            slot_before_tabs_ = dialog_table().current_slot;
            pages_.clear();
        }
        HWND tab = GetDlgItem(dialog_, f);
        if (tab != nullptr) {
            const int index = static_cast<int>(SendMessageA(tab, TCM_GETITEMCOUNT, 0, 0));
            tab_item_insert(tab, index, page, caption);
        }
        int resource = page;
        dialog_load_resource(resource, page, 0, 0);
        pages_.push_back(page);
    }

    void tabs_done(int f, int page) override
    {
        if (in_tabs_)
            dialog_table().current_slot = slot_before_tabs_;
        in_tabs_ = false;
        HWND tab = GetDlgItem(dialog_, f);
        if (tab == nullptr)
            return;
        RECT area{};
        GetWindowRect(tab, &area);
        MapWindowPoints(nullptr, dialog_, reinterpret_cast<POINT*>(&area), 2);
        SendMessageA(tab, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
        for (int p : pages_) {
            const int s = dialog_index_by_id(p);
            if (s > 0)
                SetWindowPos(dialog_table().windows[static_cast<std::size_t>(s)], nullptr, area.left,
                             area.top, area.right - area.left, area.bottom - area.top,
                             SWP_NOZORDER | SWP_NOACTIVATE);
        }
        const int count = static_cast<int>(SendMessageA(tab, TCM_GETITEMCOUNT, 0, 0));
        int index = page <= 0 ? -page : 0;
        if (page > 0) {
            for (int i = 0; i < count; ++i) {
                int p = 0;
                if (tab_item_page(tab, i, p) && p == page) {
                    index = i;
                    break;
                }
            }
        }
        SendMessageA(tab, TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
    }

    std::size_t grid(int f, std::string_view rest) override
    {
        HWND w = GetDlgItem(dialog_, f);
        const FieldClassHooks* h = field_class_hooks(w);
        return h != nullptr && h->extras_entry != nullptr ? h->extras_entry(w, rest) : 0;
    }

    void colours(int f, int fr, int fg, int fb, int br, int bg, int bb) override
    {
        HWND w = GetDlgItem(dialog_, f);
        field_set_colour(w, 1, fr, fg, fb);
        field_set_colour(w, 2, br, bg, bb);
    }

    void trackbar(int f, int frequency, int line, int page, int start, int end) override
    {
        HWND w = GetDlgItem(dialog_, f);
        if (w == nullptr || !is_class(w, control_class_atoms().trackbar))
            return;
        SendMessageA(w, TBM_SETTICFREQ, static_cast<WPARAM>(frequency), 0);
        SendMessageA(w, TBM_SETLINESIZE, 0, line);
        SendMessageA(w, TBM_SETPAGESIZE, 0, page);
        if (GetWindowLongA(w, GWL_STYLE) & TBS_ENABLESELRANGE) {
            if (start == end) {
                SendMessageA(w, TBM_CLEARSEL, TRUE, 0);
            } else {
                SendMessageA(w, TBM_SETSELSTART, FALSE, start);
                SendMessageA(w, TBM_SETSELEND, FALSE, end);
            }
        }
    }

    void length(int f, int maximum) override
    {
        HWND w = GetDlgItem(dialog_, f);
        if (w == nullptr)
            return;
        if (is_edit_family(w))
            SendMessageA(w, EM_LIMITTEXT, static_cast<WPARAM>(maximum), 0);
        else if (is_class(w, control_class_atoms().combobox))
            SendMessageA(w, CB_LIMITTEXT, static_cast<WPARAM>(maximum), 0);
        if (FieldRecord* r = field_record_of(w))
            r->maximum_length = maximum;
    }

    void dialog(int flag, bool has_reference, int reference, int alignment) override
    {
        DialogRecord* r = dialog_record_of(dialog_);
        if (r == nullptr)
            return;
        r->resize_flag = flag != 0 ? 1 : 0;
        if (!has_reference)
            return;
        HWND ref = GetDlgItem(dialog_, reference);
        if (ref == nullptr)
            return;
        r->reference_field = ref;
        extras_anchor_fields(dialog_, ref, alignment);
        dialog_add_size_grip(dialog_);
    }

    void format(int f, std::string_view text) override
    {
        if (FieldRecord* r = field_record_of(GetDlgItem(dialog_, f)))
            r->format = std::string(text);
    }

    void treeview(int f, int menu, int selected) override
    {
        if (HWND w = GetDlgItem(dialog_, f))
            field_tree_from_menu(w, menu, selected);
    }

    void font(int f, int points, std::string_view face, int weight, int italic) override
    {
        HWND w = GetDlgItem(dialog_, f);
        // A font for a field the dialog lacks would belong to nobody.
        if (w == nullptr)
            return;
        HDC screen = GetDC(nullptr);
        const int height = -MulDiv(points, GetDeviceCaps(screen, LOGPIXELSY), 72);
        ReleaseDC(nullptr, screen);
        const std::string name(face);
        HFONT font = CreateFontA(height, 0, 0, 0, weight, italic == 1 ? TRUE : FALSE, FALSE, FALSE,
                                 DEFAULT_CHARSET, OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                 FF_MODERN | VARIABLE_PITCH, name.c_str());
        if (font != nullptr)
            SendMessageA(w, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }

    void flags(int f, int value) override
    {
        if (FieldRecord* r = field_record_of(GetDlgItem(dialog_, f)))
            r->field_flags = value;
    }

private:
    HWND dialog_;
    int slot_;
    bool in_tabs_ = false;
    int slot_before_tabs_ = 0;
    std::vector<int> pages_;
};

struct Anchored {
    HWND window;
    RECT own;       // without the partner
    RECT extended;  // a spinner's reaching to its partner's right edge
};

bool contains(const RECT& outer, const RECT& inner)
{
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

} // namespace

void dialog_parse_extras(HWND dialog, int resource, int slot)
{
    HINSTANCE instance = module_instance();
    HRSRC found = FindResourceA(instance, MAKEINTRESOURCEA(resource), MAKEINTRESOURCEA(10));
    if (found == nullptr)
        return;
    HGLOBAL loaded = LoadResource(instance, found);
    const char* data = loaded ? static_cast<const char*>(LockResource(loaded)) : nullptr;
    const DWORD size = SizeofResource(instance, found);
    if (data == nullptr || size == 0)
        return;
    ApplySink sink(dialog, slot);
    parse_extras(DialogExtrasBlock(data, size), sink);
}

bool dialog_extras_anchor(HWND probe, int identifier)
{
    auto* record = new DialogRecord;
    record->identifier = identifier;
    DialogRecord* previous = dialog_record_detach(probe);
    dialog_record_attach(probe, record);
    dialog_parse_extras(probe, identifier, -1);
    const bool anchored = record->reference_field != nullptr;
    dialog_record_detach(probe);
    if (previous != nullptr)
        dialog_record_attach(probe, previous);
    delete record;
    return anchored;
}

void field_set_number_range(int& field, double minimum, double maximum, HWND dialog)
{
    FieldRecord* r = field_record_of(GetDlgItem(dialog, field));
    if (r == nullptr) {
        field = -1;
        return;
    }
    r->minimum = minimum;
    r->maximum = maximum;
}

void field_set_colour(HWND field, int which, int red, int green, int blue)
{
    FieldRecord* r = field_record_of(field);
    if (r == nullptr || red == -1)
        return;
    const int value = red == 256 ? -1 : (red & 0xFF) + 256 * (green & 0xFF) + 65536 * (blue & 0xFF);
    if (which == 1)
        r->foreground = value;
    else
        r->background = value;
}

void field_tree_add_menu_items(HWND tree, HTREEITEM parent, HMENU menu, int selected)
{
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        MENUITEMINFOA info{};
        info.cbSize = static_cast<UINT>(win_menuiteminfo_size());
        info.fMask = MIIM_STATE | MIIM_ID | MIIM_SUBMENU;
        if (!GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info))
            continue;
        const int length = GetMenuStringA(menu, static_cast<UINT>(i), nullptr, 0, MF_BYPOSITION);
        std::string text(static_cast<std::size_t>(std::max(length, 0)) + 1, '\0');
        GetMenuStringA(menu, static_cast<UINT>(i), text.data(), length + 1, MF_BYPOSITION);
        text.resize(static_cast<std::size_t>(std::max(length, 0)));
        TVINSERTSTRUCTA insert{};
        insert.hParent = parent;
        insert.hInsertAfter = TVI_LAST;
        insert.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_STATE;
        insert.item.pszText = text.data();
        insert.item.lParam = static_cast<LPARAM>(info.wID);
        insert.item.stateMask = TVIS_EXPANDED;
        insert.item.state = (info.hSubMenu != nullptr && (info.fState & MFS_CHECKED)) ? TVIS_EXPANDED : 0;
        auto item = reinterpret_cast<HTREEITEM>(
            SendMessageA(tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
        if (item == nullptr)
            continue;
        if (static_cast<int>(info.wID) == selected)
            SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
        if (info.hSubMenu != nullptr)
            field_tree_add_menu_items(tree, item, info.hSubMenu, selected);
    }
}

void field_tree_from_menu(HWND tree, int menu, int selected)
{
    if (menu == 0)
        return;
    HMENU loaded = LoadMenuA(module_instance(), MAKEINTRESOURCEA(menu));
    if (loaded == nullptr)
        return;
    field_tree_add_menu_items(tree, TVI_ROOT, loaded, selected);
    DestroyMenu(loaded);
}

void extras_anchor_fields(HWND dialog, HWND reference, int alignment)
{
    const ControlClassAtoms& a = control_class_atoms();
    RECT client{};
    GetClientRect(dialog, &client);
    std::vector<HWND> partners;
    for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        if (const FieldRecord* f = field_record_of(c); f && f->updown_partner)
            partners.push_back(f->updown_partner);
    std::vector<Anchored> fields;
    for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        if (field_record_of(c) == nullptr || is_dialog_window(c) || is_class(c, a.scrollbar) ||
            std::find(partners.begin(), partners.end(), c) != partners.end())
            continue;
        Anchored f{c, {}, {}};
        GetWindowRect(c, &f.own);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&f.own), 2);
        f.extended = f.own;
        if (HWND p = field_record_of(c)->updown_partner) {
            RECT pr{};
            GetWindowRect(p, &pr);
            MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&pr), 2);
            f.extended.right = std::max(f.extended.right, pr.right);
        }
        fields.push_back(f);
    }
    RECT ref{};
    for (const Anchored& f : fields)
        if (f.window == reference)
            ref = f.extended;
    for (const Anchored& f : fields) {
        FieldRecord* r = field_record_of(f.window);
        r->right_margin = client.right - f.extended.right;
        r->bottom_margin = client.bottom - f.extended.bottom;
        const RECT& o = f.extended;
        RECT e = o;
        int flags = 0;
        for (const Anchored& g : fields) {
            if (g.window == f.window || !contains(g.own, e))
                continue;
            if (f.window == reference)
                field_record_of(g.window)->anchor_flags |= 2 | 8;
            else if (!contains(g.own, ref))
                e = g.own; // a field inside a frame that does not enclose R follows its frame
        }
        if (f.window == reference) {
            flags |= 2 | 8;
        } else {
            if (alignment != 0 && e.right == ref.right) {
                if (e.left != ref.left || o.left == ref.left) {
                    flags |= 2;
                    if (o.left != ref.left)
                        flags |= 1;
                }
            } else if (e.left >= ref.right) {
                flags |= 1 | 2;
            }
            if (alignment != 0 && e.bottom == ref.bottom) {
                if (e.top != ref.top || o.top == ref.top) {
                    flags |= 8;
                    if (o.top != ref.top)
                        flags |= 4;
                }
            } else if (e.top >= ref.bottom) {
                flags |= 4 | 8;
            }
        }
        if (is_class(f.window, a.static_text)) {
            const int type = static_cast<int>(GetWindowLongA(f.window, GWL_STYLE) & 0x1F);
            if (type == SS_ETCHEDHORZ && !(flags & 4) && !(r->anchor_flags & 4))
                flags &= ~8;
            if (type == SS_ETCHEDVERT && !(flags & 1) && !(r->anchor_flags & 1))
                flags &= ~2;
        }
        r->anchor_flags |= flags;
    }
}

} // namespace korv
