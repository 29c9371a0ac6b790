// What the extras block sets up at load, resizable dialogs, tab pages, and
// reading and writing fields by class.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "dialog_test_support.h"
#include "korvanthide/bitmaps.h"
#include "korvanthide/dialogs.h"
#include "korvanthide/errors.h"
#include "graphics/metafile_slots.h"
#include "graphics/metafile_win.h"
#include "korvanthide/startup.h"
#include "dialogs/dialog_operations.h"

using namespace dialog_test;
using namespace korv::testing;

namespace {

class Fields : public ::testing::Test {
protected:
    void SetUp() override
    {
        toolkit_up();
        korv::err_number_store(0);
    }
    void TearDown() override { unload_all(); }
    static int last_error() { return korv::error_state().last_error; }
    static LRESULT send(int id, UINT m, WPARAM w = 0, LPARAM l = 0) { return SendMessageA(field(id), m, w, l); }
};

COLORREF brush_colour(LRESULT brush)
{
    LOGBRUSH lb{};
    GetObjectA(reinterpret_cast<HBRUSH>(brush), sizeof lb, &lb);
    return lb.lbColor;
}

TEST_F(Fields, ExtrasBlockTakesEffectAtLoad)
{
    WDialogLoad(400);
    ASSERT_EQ(last_error(), 0);
    // [Ranges] and [Trackbars]: range, position from the template text, ticks.
    EXPECT_EQ(send(401, TBM_GETRANGEMIN), 0);
    EXPECT_EQ(send(401, TBM_GETRANGEMAX), 360);
    EXPECT_EQ(send(401, TBM_GETPOS), 30);
    EXPECT_EQ(send(401, TBM_GETNUMTICS), 13);
    EXPECT_EQ(send(401, TBM_GETLINESIZE), 1);
    EXPECT_EQ(send(401, TBM_GETPAGESIZE), 10);
    EXPECT_EQ(send(409, TBM_GETPOS), 5);
    EXPECT_EQ(send(409, TBM_GETSELSTART), 40);
    EXPECT_EQ(send(409, TBM_GETSELEND), 60);
    EXPECT_EQ(send(406, PBM_GETRANGE, FALSE), 50);
    EXPECT_EQ(send(406, PBM_GETPOS), 20);
    // A maximum directly followed by the line feed reads as that number.
    const korv::FieldRecord* real = korv::field_record_of(field(405));
    EXPECT_EQ(real->minimum, -1.5);
    EXPECT_EQ(real->maximum, 1.5);
    // [Menus]: items, and the selection from 1 (0 selects nothing).
    EXPECT_EQ(send(403, CB_GETCOUNT), 2);
    EXPECT_EQ(send(403, CB_GETCURSEL), 1);
    EXPECT_EQ(window_text(field(403)), "zwei");
    EXPECT_EQ(send(404, LB_GETCOUNT), 3);
    EXPECT_EQ(send(404, LB_GETCURSEL), LB_ERR);
    // [Checks], [Lengths], [Formats], [Flags].
    EXPECT_EQ(send(407, BM_GETCHECK), BST_CHECKED);
    EXPECT_EQ(send(408, EM_GETLIMITTEXT), 5);
    EXPECT_EQ(korv::field_record_of(field(404))->field_flags, 1);
    WDialogPutReal(405, 0.25f);
    EXPECT_EQ(window_text(field(405)), "0.250");

    // [Colours], as the dialog paints them: the group box's background, the
    // edit field's text colour on the window colour.
    HWND dialog = korv::dialog_current_window();
    HDC dc = GetDC(dialog);
    LRESULT brush = SendMessageA(dialog, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                 reinterpret_cast<LPARAM>(field(402)));
    ASSERT_NE(brush, 0);
    EXPECT_EQ(brush_colour(brush), RGB(255, 149, 149));
    EXPECT_EQ(GetBkColor(dc), RGB(255, 149, 149));
    EXPECT_EQ(GetTextColor(dc), GetSysColor(COLOR_BTNTEXT));
    brush = SendMessageA(dialog, WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc),
                         reinterpret_cast<LPARAM>(field(408)));
    EXPECT_EQ(brush, reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW)));
    EXPECT_EQ(GetTextColor(dc), RGB(0, 0, 255));
    ReleaseDC(dialog, dc);
}

TEST_F(Fields, DoubleClickPressesTheDefaultButtonUnlessTheFieldSaysNot)
{
    WDialogLoad(400);
    WDialogShow();
    pump_dialog_messages();
    wevent_wait_until_quiet();
    // The list box (flags 1) keeps its double clicks to itself.
    SendMessageA(korv::dialog_current_window(), WM_COMMAND, MAKEWPARAM(404, LBN_DBLCLK),
                 reinterpret_cast<LPARAM>(field(404)));
    EXPECT_TRUE(wevent_wait_until_quiet().empty());
    PostMessageA(korv::dialog_current_window(), WM_COMMAND, MAKEWPARAM(403, CBN_DBLCLK),
                 reinterpret_cast<LPARAM>(field(403)));
    Event e;
    ASSERT_TRUE(wevent_wait(e));
    EXPECT_EQ(e.type, 3);
    EXPECT_EQ(e.record.slot(2), IDOK);
}

TEST_F(Fields, ResizableDialogMovesAnchoredFields)
{
    WDialogLoad(800);
    HWND dialog = korv::dialog_current_window();
    ASSERT_TRUE(korv::dialog_has_size_grip(dialog));
    EXPECT_EQ(korv::field_record_of(field(801))->anchor_flags, 2 | 8);
    EXPECT_EQ(korv::field_record_of(field(IDOK))->anchor_flags, 1 | 2 | 4 | 8);
    EXPECT_EQ(korv::field_record_of(field(802))->anchor_flags, 0);
    WDialogShow();
    pump_dialog_messages();
    auto rect_in_dialog = [&](int id) {
        RECT r{};
        GetWindowRect(field(id), &r);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
        return r;
    };
    const RECT list = rect_in_dialog(801);
    const RECT ok = rect_in_dialog(IDOK);
    const RECT edit = rect_in_dialog(802);
    RECT outer{};
    GetWindowRect(dialog, &outer);
    SetWindowPos(dialog, nullptr, 0, 0, outer.right - outer.left + 50, outer.bottom - outer.top + 30,
                 SWP_NOMOVE | SWP_NOZORDER);
    pump_dialog_messages();
    const RECT list2 = rect_in_dialog(801);
    const RECT ok2 = rect_in_dialog(IDOK);
    const RECT edit2 = rect_in_dialog(802);
    EXPECT_EQ(list2.right - list.right, 50);
    EXPECT_EQ(list2.bottom - list.bottom, 30);
    EXPECT_EQ(list2.left, list.left);
    EXPECT_EQ(ok2.left - ok.left, 50);
    EXPECT_EQ(ok2.top - ok.top, 30);
    EXPECT_EQ(ok2.right - ok2.left, ok.right - ok.left);
    EXPECT_TRUE(EqualRect(&edit, &edit2));
    // Not smaller than at creation.
    MINMAXINFO info{};
    SendMessageA(dialog, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.ptMinTrackSize.x, outer.right - outer.left);
    EXPECT_EQ(info.ptMinTrackSize.y, outer.bottom - outer.top);
}

TEST_F(Fields, TabPagesAreLoadedDialogsShownByTheirTab)
{
    WDialogLoad(900);
    ASSERT_EQ(last_error(), 0);
    EXPECT_EQ(korv::dialog_table().loaded, 3);
    EXPECT_EQ(korv::dialog_result_state().current_dialog, 900);
    EXPECT_EQ(korv::dialog_current_window(), korv::dialog_table().windows[1]);
    EXPECT_EQ(send(901, TCM_GETITEMCOUNT), 2);
    EXPECT_EQ(send(901, TCM_GETCURSEL), 1);
    char caption[16] = {};
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = caption;
    item.cchTextMax = sizeof caption;
    send(901, TCM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    EXPECT_STREQ(caption, "Eins");
    int page = 0;
    EXPECT_EQ(korv::field_get_tab_page(901, page), 0);
    EXPECT_EQ(page, 912);

    WEventTypeEnable(11, 1);
    WDialogShow();
    pump_dialog_messages();
    HWND dialog = korv::dialog_current_window();
    HWND two = korv::dialog_table().windows[3];
    EXPECT_EQ(GetParent(two), dialog);
    EXPECT_TRUE(IsWindowVisible(two));
    EXPECT_FALSE(IsWindowVisible(korv::dialog_table().windows[2]));
    // A page cannot be hidden or unloaded while its tab shows it.
    WDialogSelect(912);
    WDialogHide();
    EXPECT_EQ(last_error(), 1069);
    WDialogSelect(900);
    wevent_wait_until_quiet();

    // A click on the first tab changes the page and posts the page change.
    RECT r{};
    send(901, TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&r));
    post_click(field(901), (r.left + r.right) / 2, (r.top + r.bottom) / 2);
    Event e;
    ASSERT_TRUE(wevent_wait(e));
    while (e.type == 10)
        ASSERT_TRUE(wevent_wait(e));
    EXPECT_EQ(e.type, 11);
    EXPECT_EQ(e.record.slot(1), 900);
    EXPECT_EQ(e.record.slot(2), 912);
    EXPECT_EQ(e.record.slot(3), 911);
    EXPECT_TRUE(IsWindowVisible(korv::dialog_table().windows[2]));
    EXPECT_FALSE(IsWindowVisible(two));

    // A disabled page cannot be selected.
    page = 912;
    korv::field_tab_enable_page(901, page, 0);
    korv::field_tab_select_page(901, page);
    EXPECT_EQ(page, -1);

    // Unloading the dialog unloads its pages.
    WDialogUnload();
    EXPECT_EQ(korv::dialog_table().loaded, 0);
}

TEST_F(Fields, TextsAndNumbers)
{
    WDialogLoad(700);
    WDialogPutString(708, "hello   ");
    EXPECT_EQ(window_text(field(708)), "hello");
    std::array<char, 8> text{};
    WDialogGetString(708, text);
    EXPECT_EQ(std::string(text.data(), text.size()), "hello   ");
    std::array<char, 3> short_text{};
    WDialogGetString(708, short_text);
    EXPECT_EQ(std::string(short_text.data(), 3), "hel");
    int length = 0;
    WDialogGetStringLength(708, length);
    EXPECT_EQ(length, 5);

    struct Row {
        int id;
        const char* text;
        int integer;
        float real;
        int error;
    };
    const int ui = korv::toolkit_state().undefined_integer;
    const float ur = korv::toolkit_state().undefined_real;
    const Row rows[] = {
        {708, "2.9", 2, 2.9f, 0},       {708, "-2.9", -2, -2.9f, 0},
        {709, "12.5", 12, 12.5f, 0},    {709, "x", 0, 0.0f, 0},
        {709, "   ", ui, ur, 1010},     {708, "1e20", 2147483647, 1e20f, 0},
    };
    for (const Row& r : rows) {
        WDialogPutString(r.id, r.text);
        int i = 12345;
        float f = 123.0f;
        korv::err_number_store(0);
        WDialogGetInteger(r.id, i);
        EXPECT_EQ(i, r.integer) << r.text;
        EXPECT_EQ(last_error(), r.error) << r.text;
        WDialogGetReal(r.id, f);
        EXPECT_EQ(f, r.real) << r.text;
    }

    // Ranges checked when a number is put.
    WDialogRangeInteger(710, 0, 10);
    WDialogPutInteger(710, 10);
    WDialogPutInteger(710, 11);
    EXPECT_EQ(last_error(), 1009);
    EXPECT_EQ(window_text(field(710)), "10");
    WDialogRangeInteger(710, 5);
    EXPECT_EQ(korv::field_record_of(field(710))->maximum, 2147483647.0);
    WDialogRangeInteger(710);
    korv::err_number_store(0);
    WDialogPutInteger(710, -99999);
    EXPECT_EQ(last_error(), 0);
    EXPECT_EQ(window_text(field(710)), "-99999");

    // A field the dialog lacks.
    WDialogPutString(999, "x");
    EXPECT_EQ(last_error(), 1006);
    text.fill('z');
    WDialogGetString(999, text);
    EXPECT_EQ(std::string(text.data(), text.size()), "        ");
}

TEST_F(Fields, MenusButtonsAndStates)
{
    WDialogLoad(700);
    const std::string_view items[] = {"alpha  ", "b", "a long item"};
    WDialogPutMenu(705, items, 3, 2);
    EXPECT_EQ(send(705, CB_GETCOUNT), 3);
    int item = 0;
    std::array<char, 6> text{};
    WDialogGetMenu(705, item, text);
    EXPECT_EQ(item, 2);
    EXPECT_EQ(std::string(text.data(), text.size()), "b     ");
    WDialogPutMenu(705, items, 3, 0, "zz");
    WDialogGetMenu(705, item);
    EXPECT_EQ(item, 0);
    EXPECT_EQ(last_error(), 0);
    WDialogPutMenu(705, items, 3, 5);
    EXPECT_EQ(last_error(), 1011);
    EXPECT_EQ(send(705, CB_GETCOUNT), 3);

    // A list box: no selection is no error when put, but reads as no value.
    korv::err_number_store(0);
    WDialogPutMenu(706, items, 3, 0);
    EXPECT_EQ(last_error(), 0);
    WDialogGetMenu(706, item);
    EXPECT_EQ(last_error(), 1010);
    EXPECT_EQ(item, korv::toolkit_state().undefined_integer);
    // The item's text is cut at the caller's length.
    WDialogPutMenu(706, items, 3, 3);
    std::array<char, 4> cut{};
    WDialogGetMenu(706, item, cut);
    EXPECT_EQ(item, 3);
    EXPECT_EQ(std::string(cut.data(), cut.size()), "a lo");
    WDialogPutMenu(706, items, 0, 0);
    EXPECT_EQ(send(706, LB_GETCOUNT), 0);

    // Radio buttons: any button of the group tells the same position.
    WDialogPutRadioButton(702);
    int position = 0;
    WDialogGetRadioButton(701, position);
    EXPECT_EQ(position, 2);
    WDialogGetRadioButton(703, position);
    EXPECT_EQ(position, 2);
    WDialogClearField(703);
    korv::err_number_store(0);
    WDialogGetRadioButton(701, position);
    EXPECT_EQ(last_error(), 1010);

    // Check boxes, push buttons and progress bars.
    WDialogPutCheckBox(715, 1);
    int state = 0;
    WDialogGetCheckBox(715, state);
    EXPECT_EQ(state, 1);
    korv::err_number_store(0);
    WDialogPutCheckBox(712, 1);
    EXPECT_EQ(last_error(), 1006);
    WDialogClearField(712);
    EXPECT_EQ(window_text(field(712)), "");
    korv::field_put_progress(713, 30, 0);
    WDialogClearField(713);
    EXPECT_EQ(send(713, PBM_GETPOS), 0);
    EXPECT_EQ(send(713, PBM_GETRANGE, FALSE), 40);

    // Trackbars without a selection range keep only the position.
    WDialogPutTrackBar(711, 7, 2, 5);
    int pos = 0, start = -1, end = -1;
    WDialogGetTrackBar(711, pos, start, end);
    EXPECT_EQ(pos, 7);
    EXPECT_EQ(start, 0);
    EXPECT_EQ(end, 0);

    // Field states.
    WDialogShow();
    pump_dialog_messages();
    WDialogFieldState(708, 2);
    EXPECT_TRUE(GetWindowLongA(field(708), GWL_STYLE) & ES_READONLY);
    EXPECT_TRUE(IsWindowEnabled(field(708)));
    korv::field_get_state(708, state);
    EXPECT_EQ(state, 2);
    WDialogSetField(709);
    ASSERT_EQ(GetFocus(), field(709));
    WDialogFieldState(709, 3);
    EXPECT_FALSE(IsWindowVisible(field(709)));
    HWND focus = GetFocus();
    EXPECT_NE(focus, field(709));
    EXPECT_TRUE(focus == korv::dialog_current_window() || IsChild(korv::dialog_current_window(), focus));
    WDialogFieldState(710, 0);
    EXPECT_FALSE(IsWindowEnabled(field(710)));
}

TEST_F(Fields, PicturesFromMemoryBitmaps)
{
    WDialogLoad(700);
    int handle = 0;
    WBitmapCreate(handle, 75, 60, 0x0000FF);
    ASSERT_GT(handle, 0);
    WDialogPutImage(704, handle, 3);
    EXPECT_EQ(last_error(), 0);
    // The field keeps its own copy: the program may destroy its bitmap.
    WBitmapDestroy(handle);
    auto shown = reinterpret_cast<HBITMAP>(send(704, STM_GETIMAGE, IMAGE_BITMAP));
    ASSERT_NE(shown, nullptr);
    BITMAP info{};
    ASSERT_NE(GetObjectA(shown, sizeof info, &info), 0);
    EXPECT_EQ(info.bmWidth, 75);
    EXPECT_EQ(info.bmHeight, 60);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, shown);
    EXPECT_EQ(GetPixel(dc, 10, 10), RGB(255, 0, 0));
    // Every corner of the picture holds the bitmap's colour: no row or
    // column is lost or left white.
    for (const auto& [x, y] : {std::pair{0, 0}, {74, 0}, {0, 59}, {74, 59}})
        EXPECT_EQ(GetPixel(dc, x, y), RGB(255, 0, 0)) << x << "," << y;
    SelectObject(dc, old);
    DeleteDC(dc);
    // Each corner pixel lands in the same corner of the picture.
    WBitmapCreate(handle, 75, 60, 0x0000FF);
    ASSERT_GT(handle, 0);
    std::vector<std::int32_t> pixels(75 * 60, 0x0000FF);
    pixels[0] = 0x00FF00;
    pixels[74] = 0xFF0000;
    pixels[59 * 75] = 0x000000;
    pixels[59 * 75 + 74] = 0x00FFFF;
    WBitmapGetData(handle, pixels);
    WDialogPutImage(704, handle, 3);
    WBitmapDestroy(handle);
    shown = reinterpret_cast<HBITMAP>(send(704, STM_GETIMAGE, IMAGE_BITMAP));
    ASSERT_NE(shown, nullptr);
    dc = CreateCompatibleDC(nullptr);
    old = SelectObject(dc, shown);
    EXPECT_EQ(GetPixel(dc, 0, 0), RGB(0, 255, 0));
    EXPECT_EQ(GetPixel(dc, 74, 0), RGB(0, 0, 255));
    EXPECT_EQ(GetPixel(dc, 0, 59), RGB(0, 0, 0));
    EXPECT_EQ(GetPixel(dc, 74, 59), RGB(255, 255, 0));
    EXPECT_EQ(GetPixel(dc, 1, 1), RGB(255, 0, 0));
    SelectObject(dc, old);
    DeleteDC(dc);
    // A handle that names no bitmap leaves the picture.
    WDialogPutImage(704, 49, 3);
    EXPECT_EQ(last_error(), 1015);
    EXPECT_EQ(reinterpret_cast<HBITMAP>(send(704, STM_GETIMAGE, IMAGE_BITMAP)), shown);
    WDialogPutImage(704, 3, 4);
    EXPECT_EQ(last_error(), 1061);
}

TEST_F(Fields, PicturesFromMetafileSlots)
{
    WDialogLoad(700);
    WDialogPutImage(704, 21, 4);
    EXPECT_EQ(last_error(), 1015);
    korv::error_state().last_error = 0;
    korv::metafile_slots_clear();
    ASSERT_TRUE(korv::metafile_slot_create_enhanced(3, 72, 36));
    // A slot still recording is closed, and the field shows a copy of it.
    WDialogPutImage(704, 3, 4);
    EXPECT_EQ(last_error(), 0);
    const auto shown = reinterpret_cast<HENHMETAFILE>(send(704, STM_GETIMAGE, IMAGE_ENHMETAFILE));
    ASSERT_NE(shown, nullptr);
    EXPECT_NE(shown, korv::emf_handle(2));
    EXPECT_FALSE(korv::emf_recording(2));
    WMetafileDestroy(3);
    EXPECT_EQ(last_error(), 0);
    WDialogPutImage(704, 3, 4);
    EXPECT_EQ(last_error(), 1061);
}

TEST_F(Fields, TreesFromMenusAndFieldFonts)
{
    WDialogLoad(1000);
    HWND tree = field(1001);
    int number = 0;
    std::array<char, 16> text{};
    ASSERT_EQ(korv::field_get_tree_selection(1001, number, true, text), 0);
    EXPECT_EQ(number, 12);
    EXPECT_STREQ(text.data(), "Zwoelf");
    auto root = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
    auto second = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(root)));
    // A checked submenu starts expanded (the first one shows its selected item).
    EXPECT_TRUE(SendMessageA(tree, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(second), TVIS_EXPANDED) & TVIS_EXPANDED);
    EXPECT_EQ(SendMessageA(tree, TVM_GETCOUNT, 0, 0), 6);

    auto font = reinterpret_cast<HFONT>(send(1002, WM_GETFONT));
    LOGFONTA lf{};
    ASSERT_NE(GetObjectA(font, sizeof lf, &lf), 0);
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(lf.lfHeight, -MulDiv(12, GetDeviceCaps(screen, LOGPIXELSY), 72));
    ReleaseDC(nullptr, screen);
    EXPECT_EQ(lf.lfWeight, 700);
    EXPECT_EQ(lf.lfItalic, 1);
    EXPECT_STREQ(lf.lfFaceName, "Arial");
    // No comma in the rest of the block: the field keeps the dialog's font.
    EXPECT_EQ(send(1003, WM_GETFONT), SendMessageA(korv::dialog_current_window(), WM_GETFONT, 0, 0));
}

TEST_F(Fields, TreeItemsByNumber)
{
    WDialogLoad(700);
    EXPECT_EQ(korv::field_tree_insert_item(714, 99, 2, 1, "root"), 0); // empty tree: reference ignored
    EXPECT_EQ(korv::field_tree_insert_item(714, 1, 3, 2, "child"), 0);
    EXPECT_EQ(korv::field_tree_insert_item(714, 2, 1, 3, "before child"), 0);
    EXPECT_EQ(korv::field_tree_insert_item(714, 1, 2, 2, "again"), -3);
    EXPECT_EQ(korv::field_tree_insert_item(714, 42, 2, 9, "x"), -2);
    EXPECT_EQ(korv::field_tree_select_item(714, 2), 0);
    int number = 0;
    std::array<char, 4> text{};
    EXPECT_EQ(korv::field_get_tree_selection(714, number, true, text), 0);
    EXPECT_EQ(number, 2);
    EXPECT_STREQ(text.data(), "chi");
    int state = 0;
    EXPECT_EQ(korv::field_tree_item_expanded(714, 1, state), 0);
    EXPECT_EQ(korv::field_tree_item_expanded(714, 2, state), -3);
    EXPECT_EQ(korv::field_tree_delete_item(714, 1), 0);
    EXPECT_EQ(korv::field_tree_select_item(714, 2), -2);
}

} // namespace
