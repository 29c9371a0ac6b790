// Number fields under real input: spinner steps, the range check before
// push buttons, Enter and the cancel command, display formats, and the
// order of focus notifications.
#include <gtest/gtest.h>

#include "dialog_test_support.h"
#include "dialogs/dialog_internal.h"
#include "korvanthide/dialogs.h"
#include "korvanthide/conversions.h"
#include "korvanthide/errors.h"
#include "korvanthide/window.h"
#include "core/services/grid.h"

using namespace dialog_test;
using namespace korv::testing;

namespace {

class NumberFields : public ::testing::Test {
protected:
    void SetUp() override
    {
        toolkit_up();
        WDialogLoad(300);
        WDialogShow(-1, -1, 0, 2);
        pump_dialog_messages();
    }
    void TearDown() override { unload_all(); }
};

int selection_length(HWND edit)
{
    DWORD start = 0, end = 0;
    SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return static_cast<int>(end - start);
}

TEST_F(NumberFields, SpinnerUpArrowPostsFieldChangeWithSpinnerStep)
{
    WEventTypeEnable(10, 1);
    HWND spinner = field(301);
    HWND partner = korv::field_record_of(spinner)->updown_partner;
    ASSERT_NE(partner, nullptr);
    RECT rc{};
    GetClientRect(partner, &rc);
    for (int click = 0; click < 2; ++click) {
        post_click(partner, rc.right / 2, rc.bottom / 4);
        Event e;
        ASSERT_TRUE(wevent_wait(e)) << "click " << click;
        EXPECT_EQ(e.type, 10);
        EXPECT_EQ(e.record.slot(1), 300);
        EXPECT_EQ(e.record.slot(2), 301);
        EXPECT_EQ(e.record.slot(3), 301);
        EXPECT_EQ(e.record.slot(14), -1);
    }
    EXPECT_TRUE(wevent_wait_until_quiet().empty());
    EXPECT_EQ(window_text(spinner), "8");
    int value = 0;
    WDialogGetInteger(301, value);
    EXPECT_EQ(value, 8);
}

TEST_F(NumberFields, SpinnerPartnersAreShownWithTheirSpinners)
{
    // The partners are made while their spinners are being created, before
    // these are visible. Wine's up-down control drops WS_BORDER by itself.
    const struct {
        int id;
        LONG style;
    } spinners[] = {
        {301, WS_CHILD | WS_VISIBLE | UDS_ARROWKEYS | UDS_ALIGNRIGHT},
        {303, WS_CHILD | WS_VISIBLE | UDS_ARROWKEYS | UDS_ALIGNRIGHT | UDS_NOTHOUSANDS},
    };
    for (const auto& s : spinners) {
        HWND partner = korv::field_record_of(field(s.id))->updown_partner;
        ASSERT_NE(partner, nullptr) << s.id;
        EXPECT_TRUE(IsWindowVisible(partner)) << s.id;
        EXPECT_EQ(GetWindowLongA(partner, GWL_STYLE) & ~WS_BORDER, s.style) << s.id;
    }
}

TEST_F(NumberFields, OutOfRangeValueStopsEnterAndTheDefaultButton)
{
    WDialogSetField(304);
    HWND f = field(304);
    ASSERT_EQ(GetFocus(), f);
    post_text("20");
    pump_dialog_messages();
    ASSERT_EQ(window_text(f), "20");

    post_key(VK_RETURN);
    EXPECT_TRUE(wevent_wait_until_quiet().empty());
    EXPECT_EQ(GetFocus(), f);
    EXPECT_EQ(selection_length(f), 2);

    SendMessageA(field(IDOK), BM_CLICK, 0, 0);
    EXPECT_TRUE(wevent_wait_until_quiet().empty());
    EXPECT_EQ(GetFocus(), f);
    EXPECT_EQ(selection_length(f), 2);
    EXPECT_EQ(window_text(f), "20");
}

TEST_F(NumberFields, EnterInAMultiLineNumberFieldPressesTheDefaultButton)
{
    // The converter's number fields are multi-line edit fields, which take
    // Enter themselves; the line break must not reach the text.
    WDialogSetField(301);
    HWND f = field(301);
    post_key(VK_RETURN);
    Event e;
    ASSERT_TRUE(wevent_wait(e));
    EXPECT_EQ(e.type, 3);
    EXPECT_EQ(e.record.slot(2), IDOK);
    EXPECT_EQ(window_text(f), "7");
    SendMessageA(f, EM_SETSEL, 0, -1);
    post_text("9");
    post_key(VK_RETURN);
    EXPECT_TRUE(wevent_wait_until_quiet().empty());
    EXPECT_EQ(GetFocus(), f);
    EXPECT_EQ(window_text(f), "9");
}

TEST_F(NumberFields, CancelCommandRestoresTheTextAndPostsTheCancelButton)
{
    WDialogSetField(304);
    HWND f = field(304);
    post_text("20");
    post_key(VK_ESCAPE);
    Event e;
    ASSERT_TRUE(wevent_wait(e));
    EXPECT_EQ(e.type, 3);
    EXPECT_EQ(e.record.slot(1), 300);
    EXPECT_EQ(e.record.slot(2), IDCANCEL);
    EXPECT_EQ(window_text(f), "5");
    int value = 0;
    WDialogGetInteger(304, value);
    EXPECT_EQ(value, 5);
}

TEST_F(NumberFields, AnotherPushButtonPutsTheEnteredValueBackAndActs)
{
    WDialogSetField(304);
    HWND f = field(304);
    post_text("20");
    pump_dialog_messages();
    // The refusal waits for the button: the button takes the focus.
    PostMessageA(field(3), BM_CLICK, 0, 0);
    Event e;
    ASSERT_TRUE(wevent_wait(e));
    EXPECT_EQ(e.type, 3);
    EXPECT_EQ(e.record.slot(2), 3);
    EXPECT_EQ(window_text(f), "5");
    int value = 0;
    WDialogGetInteger(304, value);
    EXPECT_EQ(value, 5);
}

TEST_F(NumberFields, ReleasingTheButtonElsewhereGivesTheFocusBack)
{
    WDialogSetField(304);
    HWND f = field(304);
    post_text("20");
    pump_dialog_messages();
    HWND three = field(3);
    PostMessageA(three, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    pump_dialog_messages();
    EXPECT_EQ(GetFocus(), three);
    PostMessageA(three, WM_LBUTTONUP, 0, MAKELPARAM(-50, -50));
    EXPECT_TRUE(wevent_wait_until_quiet().empty());
    EXPECT_EQ(GetFocus(), f);
    EXPECT_EQ(window_text(f), "20");
    EXPECT_EQ(selection_length(f), 2);
}

TEST_F(NumberFields, ADialogGoesAwayWithAnInvalidFieldFocused)
{
    // Neither hiding nor unloading pulls the focus back into the field.
    WDialogSetField(304);
    HWND f = field(304);
    post_text("20");
    pump_dialog_messages();
    HWND dialog = korv::dialog_current_window();
    WDialogHide();
    EXPECT_FALSE(IsWindowVisible(dialog));
    EXPECT_NE(GetFocus(), f);
    WDialogShow();
    WDialogSetField(304);
    pump_dialog_messages();
    ASSERT_EQ(GetFocus(), f);
    WDialogUnload();
    EXPECT_FALSE(IsWindow(f));
    EXPECT_EQ(korv::dialog_table().loaded, 0);
    EXPECT_EQ(korv::dialog_proc_state().reentry, 0);
}

TEST_F(NumberFields, TextThatIsNoNumberPassesEnterWhileTheFieldHasTheFocus)
{
    WDialogSetField(302);
    post_text("1-2");
    post_key(VK_RETURN);
    Event e;
    ASSERT_TRUE(wevent_wait(e));
    EXPECT_EQ(e.type, 3);
    EXPECT_EQ(e.record.slot(2), IDOK);
}

TEST_F(NumberFields, TextThatIsNoNumberIsRefusedWhenTheFocusLeaves)
{
    WDialogSetField(302);
    HWND f = field(302);
    post_text("1-2");
    post_key(VK_TAB);
    pump_dialog_messages();
    EXPECT_EQ(GetFocus(), f);
    EXPECT_EQ(window_text(f), "1-2");
    EXPECT_EQ(selection_length(f), 3);
}

TEST_F(NumberFields, TheStrictCheckRefusesATextThatIsNoNumberInPlace)
{
    WDialogSetField(302);
    HWND f = field(302);
    post_text("1-2");
    pump_dialog_messages();
    EXPECT_EQ(korv::numctl_validate(f, f, 0), 0);
    EXPECT_EQ(korv::numctl_validate(f, f, 1), 1);
    EXPECT_EQ(GetFocus(), f);
    EXPECT_EQ(selection_length(f), 3);
    // While the grid lays itself out, nothing is checked.
    korv::GridServices& grid = korv::grid_services();
    const auto busy = grid.layout_busy;
    grid.layout_busy = [] { return true; };
    EXPECT_EQ(korv::numctl_validate(f, f, 1), 0);
    grid.layout_busy = busy;
}

TEST_F(NumberFields, RefusedKeysAndReplacedLetters)
{
    WDialogSetField(304);
    post_text("x7e");
    pump_dialog_messages();
    EXPECT_EQ(window_text(field(304)), "7");
    WDialogSetField(302);
    post_text("1e2d");
    pump_dialog_messages();
    EXPECT_EQ(window_text(field(302)), "1E2");
    WDialogSetField(305);
    post_text("3d1");
    pump_dialog_messages();
    EXPECT_EQ(window_text(field(305)), "3D1");
}

TEST_F(NumberFields, IntegerBeyondThirtyTwoBitsIsRefused)
{
    WDialogSetField(304);
    HWND f = field(304);
    korv::FieldRecord* r = korv::field_record_of(f);
    r->minimum = 1000; // no range: only the 32-bit limit applies
    r->maximum = -1000;
    SendMessageA(f, EM_SETSEL, 0, -1);
    post_text("99999999999");
    post_key(VK_TAB);
    pump_dialog_messages();
    EXPECT_EQ(GetFocus(), f);
    EXPECT_EQ(window_text(f), "99999999999");
    // A refused text leaves the field's value as it was.
    int value = 0;
    WDialogGetInteger(304, value);
    EXPECT_EQ(value, 5);
}

TEST_F(NumberFields, DisplayFormats)
{
    WDialogPutReal(302, 2.5f);
    EXPECT_EQ(window_text(field(302)), "2.500");
    WDialogPutString(302, "7");
    float real = 0;
    WDialogGetReal(302, real);
    EXPECT_EQ(real, 7.0f);

    WDialogPutReal(303, 0.5f);
    EXPECT_EQ(window_text(field(303)), "0.50000");
    WDialogPutReal(303, 0.0836601f);
    EXPECT_EQ(window_text(field(303)), "0.83660E-01");

    // A changed real field is rewritten in its format when the focus leaves.
    WDialogSetField(303);
    post_text("0.25");
    post_key(VK_TAB);
    pump_dialog_messages();
    EXPECT_EQ(window_text(field(303)), "0.25000");
    // An integer field is rewritten whether changed or not.
    WDialogSetField(304);
    SendMessageA(field(304), EM_SETSEL, 0, -1);
    post_text("+007");
    post_key(VK_TAB);
    pump_dialog_messages();
    EXPECT_EQ(window_text(field(304)), "7");
}

TEST_F(NumberFields, EnteringFieldsPostsOneFieldChangeEach)
{
    WEventTypeEnable(10, 1);
    WDialogSetField(302);
    wevent_wait_until_quiet();
    // Tab back and forth: one event per field entered, previous then current.
    post_key(VK_TAB);
    Event e;
    ASSERT_TRUE(wevent_wait(e));
    EXPECT_EQ(e.type, 10);
    EXPECT_EQ(e.record.slot(2), 302);
    EXPECT_EQ(e.record.slot(3), 303);
    EXPECT_EQ(e.record.slot(14), reinterpret_cast<LONG_PTR>(field(303)));
    EXPECT_TRUE(wevent_wait_until_quiet().empty());
    post_key(VK_TAB);
    ASSERT_TRUE(wevent_wait(e));
    EXPECT_EQ(e.record.slot(2), 303);
    EXPECT_EQ(e.record.slot(3), 304);
    hold_keys({VK_SHIFT}, true);
    post_key(VK_TAB);
    ASSERT_TRUE(wevent_wait(e));
    hold_keys({VK_SHIFT}, false);
    EXPECT_EQ(e.type, 10);
    EXPECT_EQ(e.record.slot(2), 304);
    EXPECT_EQ(e.record.slot(3), 303);
    // Clicking into the field that is already current posts nothing.
    post_click(field(303), 5, 5);
    EXPECT_TRUE(wevent_wait_until_quiet().empty());
}

TEST(NumberFieldsDecimalComma, TheLocaleSeparatorReplacesThePoint)
{
    toolkit_up();
    korv::win_decimal_comma_set(1);
    const auto previous = korv::conversion_state().field_decimal_separator;
    korv::conversion_state().field_decimal_separator = ',';
    WDialogLoad(300);
    WDialogShow();
    pump_dialog_messages();
    EXPECT_EQ(window_text(field(303)), "0,5");
    WDialogSetField(302);
    SendMessageA(field(302), EM_SETSEL, 0, -1);
    post_text("1.5,25");
    pump_dialog_messages();
    EXPECT_EQ(window_text(field(302)), "15,25");
    korv::win_decimal_comma_set(0);
    korv::conversion_state().field_decimal_separator = previous;
    unload_all();
}

} // namespace
