// A program's operations on an editor, the find and replace dialogs driven
// through their controls, bookmarks following typed text, and coloured
// painting read back from the screen.
#include <windows.h>

#include <richedit.h>

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "editor_gui_support.h"
#include "korvanthide/editor_operations.h"
#include "korvanthide/errors.h"
#include "korvanthide/startup.h"
#include "korvanthide/window.h"
#include "korvanthide/window_ops.h"
#include "editor/editor_record.h"
#include "editor/win_editor.h"
#include "editor/edit_operations.h"

namespace {

using namespace editor_test;
using namespace korv::testing;
namespace opt = korv::EditorOptionFlags;
namespace cmd = korv::editor_command;

CHARRANGE selection(int n)
{
    CHARRANGE r{};
    SendMessageA(text_of(n), EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&r));
    return r;
}

int query(int n, int code)
{
    int value = -12345;
    korv::edit_query(n, code, value);
    return value;
}

void command(int n, int id)
{
    SendMessageA(slot(n).frame, WM_COMMAND, MAKEWPARAM(id, 0), 0);
    settle();
}

// The "End of text reached" boxes of this thread: each is answered and
// counted; the search dialogs themselves are left alone.
struct EndOfTextBoxes {
    static inline int count = 0;
    static inline std::string title;
    UINT_PTR timer;
    EndOfTextBoxes()
    {
        count = 0;
        timer = SetTimer(nullptr, 0, 40, tick);
    }
    ~EndOfTextBoxes() { KillTimer(nullptr, timer); }
    static BOOL CALLBACK look(HWND w, LPARAM)
    {
        if (IsWindowVisible(w) && box_message(w) == "End of text reached") {
            title = window_text(w);
            ++count;
            PostMessageA(w, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        }
        return TRUE;
    }
    static void CALLBACK tick(HWND, UINT, UINT_PTR, DWORD)
    {
        EnumThreadWindows(GetCurrentThreadId(), look, 0);
    }
};

// A button of a search dialog pressed; settle() hands out (and drops) the
// events it causes.
void press_button(HWND dialog, int id) { SendDlgItemMessageA(dialog, id, BM_CLICK, 0, 0); }

void click(HWND dialog, int id)
{
    press_button(dialog, id);
    settle();
}

void type_into(HWND dialog, int id, const char* text)
{
    SetDlgItemTextA(dialog, id, text);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, EN_CHANGE), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

void check(HWND dialog, int id, bool on)
{
    if ((IsDlgButtonChecked(dialog, id) == BST_CHECKED) != on) click(dialog, id);
}

class EditorOperations : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        root_window_open("Editor operations");
    }
    static void TearDownTestSuite() { WRootWindowClose(); }
    void TearDown() override { child_windows_close(); }
    int editor(int options, const char* title = "Ops")
    {
        const int n = open_window(title);
        WEditFile("", 2, 0, options, 4, 0);
        drain();
        EXPECT_NE(editor_of(n), nullptr);
        return n;
    }
    void set_text(const std::string& text)
    {
        int status = -1;
        korv::edit_text_set(status, text);
        EXPECT_EQ(status, 0);
        settle();
    }
};

} // namespace

TEST_F(EditorOperations, LineEndsCountTwoForPrograms)
{
    const int n = editor(0);
    set_text("ab\r\ncd");
    int start = 4;
    korv::edit_selection_set(start, 4);
    EXPECT_EQ(selection(n).cpMin, 3);
    EXPECT_EQ(query(n, 4), 5);
    EXPECT_EQ(query(n, 5), 4);
    EXPECT_EQ(query(n, 2), 6);
    for (int position : {2, 3}) {
        start = position;
        korv::edit_selection_set(start, position);
        EXPECT_EQ(selection(n).cpMin, 2) << position;
    }
    std::array<char, 16> part{};
    start = 1;
    korv::edit_range_text_get(start, 4, part);
    EXPECT_EQ(start, 0);
    EXPECT_STREQ(part.data(), "b\rc");
    start = 2;
    korv::edit_range_replace(start, 4, "-");
    EXPECT_EQ(start, 0);
    EXPECT_EQ(window_text(text_of(n)), "ab-cd");
    int line = 0;
    korv::edit_line_position(1, 4, line);
    EXPECT_EQ(line, 0);
    EXPECT_EQ(query(n, 104), 0);

    const int m = editor(opt::one_char_line_ends, "Eins");
    set_text("ab\r\ncd");
    start = 4;
    korv::edit_selection_set(start, 4);
    EXPECT_EQ(selection(m).cpMin, 4);
    EXPECT_EQ(query(m, 2), 5);
    EXPECT_EQ(query(m, 104), 1);
}

TEST_F(EditorOperations, LengthAndPositionsOfALargeText)
{
    // 25,000 lines of 40 positions and a last one without a line end: 1 MB.
    constexpr int lines = 25000;
    std::string text;
    for (int i = 0; i < lines; ++i) {
        std::string line = "line " + std::to_string(i);
        line.resize(38, '.');
        text += line + "\r\n";
    }
    text += "end";
    const int length = static_cast<int>(text.size());
    for (int options : {0, opt::word_wrap}) {
        const int n = editor(options);
        set_text(text);
        EXPECT_EQ(query(n, 2), length) << options;
        int start = length;
        korv::edit_selection_set(start, length);
        EXPECT_EQ(selection(n).cpMin, length - lines) << options;
        EXPECT_EQ(query(n, 4), length + 1) << options;
        EXPECT_EQ(query(n, 5), length) << options;
        // The second half of a line end far into the text maps to its first.
        start = 40 * 12345 + 39;
        korv::edit_selection_set(start, 40 * 12345 + 39);
        EXPECT_EQ(selection(n).cpMin, 39 * 12345 + 38) << options;
        EXPECT_EQ(query(n, 4), 40 * 12345 + 39) << options;
        child_windows_close();
    }
}

TEST_F(EditorOperations, QueriesStatusesAndBoundedCopies)
{
    const int n = editor(opt::several_buffers);
    set_text("123456789");
    std::array<char, 10> buffer{};
    int status = -1;
    korv::edit_text_get(status, buffer);
    EXPECT_EQ(status, 0);
    EXPECT_STREQ(buffer.data(), "123456789");
    set_text("1234567890");
    korv::edit_text_get(status, buffer);
    EXPECT_EQ(status, 2);
    EXPECT_STREQ(buffer.data(), "123456789");

    const struct {
        int bits;
    } flags[] = {{0}, {6}, {22}, {16}};
    for (const auto& f : flags) {
        korv::edit_find_flags_set(f.bits, status);
        EXPECT_EQ(query(n, 13), f.bits);
    }
    korv::edit_search_text_set(1, status, std::string(2000, 'x'));
    int length = 0;
    std::array<char, 8> small{};
    korv::edit_query_string(n, 1, length, small);
    EXPECT_EQ(length, 1023);
    EXPECT_STREQ(small.data(), "xxxxxxx");

    korv::edit_buffer_select(2, status);
    EXPECT_EQ(status, 2);  // only one buffer
    korv::edit_buffer_select(1, status);
    EXPECT_EQ(status, 0);

    // No command line.
    korv::edit_command_line_get(status, buffer);
    EXPECT_EQ(status, 3);
    korv::edit_prompt_set(status, "x");
    EXPECT_EQ(status, 2);
    korv::edit_command_line_set(status, "x", 0);
    EXPECT_EQ(status, 1032);
    korv::edit_history_check(status);
    EXPECT_EQ(status, 1092);

    // The last closed modal editor answers as window -1.
    korv::editor_modal_result().text_length = 7;
    korv::editor_modal_result().selection_end = 9;
    korv::editor_modal_result().find_flags = FR_DOWN;
    EXPECT_EQ(query(-1, 5), 7);
    EXPECT_EQ(query(-1, 13), 2);
    EXPECT_EQ(query(-1, 10), 0);

    // No editor in the current window.
    const int plain = open_window("Leer");
    ASSERT_EQ(korv::window_tables().current, plain);
    korv::edit_text_get(status, buffer);
    EXPECT_EQ(status, 1);
    int start = 3;
    korv::edit_selection_set(start, 4);
    EXPECT_EQ(start, -1);
    int line = 0;
    korv::edit_line_position(1, 0, line);
    EXPECT_EQ(line, -2);
    korv::edit_command_line_get(status, buffer);
    EXPECT_EQ(status, 1);
    korv::edit_search_text_set(1, status, "a");
    EXPECT_EQ(status, 1028);
    korv::edit_char_format_set(status, 1, 2, 1, -1, -1, -1, -1, -2, -2, "");
    EXPECT_EQ(status, -1);
    korv::edit_buffer_select(1, status);
    EXPECT_EQ(status, 1);
    EXPECT_EQ(query(plain, 2), -12345);
    EXPECT_EQ(query(plain, 8), korv::edit_richedit_version());
}

TEST_F(EditorOperations, FormatsOnlyInFormattedEditors)
{
    const int plain = editor(0);
    set_text("abcdef");
    int status = 0;
    korv::edit_char_format_set(status, 2, 3, 1, -1, -1, -1, -1, -2, -2, "");
    EXPECT_EQ(status, -2);

    const int n = editor(opt::formatted, "RTF");
    set_text("plain bold\r\nnext");
    int start = 1;
    korv::edit_selection_set(start, 2);
    korv::edit_char_format_set(status, 7, 10, 1, -1, -1, -1, -1, 0x0000FF, -2, "");
    EXPECT_EQ(status, 0);
    EXPECT_EQ(selection(n).cpMin, 1);  // the user's selection stays
    EXPECT_EQ(selection(n).cpMax, 2);
    CHARRANGE bold{6, 10};
    SendMessageA(text_of(n), EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&bold));
    CHARFORMATA format{};
    format.cbSize = sizeof format;
    SendMessageA(text_of(n), EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
    EXPECT_TRUE((format.dwMask & CFM_BOLD) && (format.dwEffects & CFE_BOLD));
    EXPECT_EQ(format.crTextColor, 0x0000FFu);
    korv::edit_paragraph_format_set(status, 13, 14, -1, 1);
    EXPECT_EQ(status, 0);
    PARAFORMAT para{};
    para.cbSize = sizeof para;
    CHARRANGE second{12, 12};
    SendMessageA(text_of(n), EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&second));
    SendMessageA(text_of(n), EM_GETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&para));
    EXPECT_EQ(para.wAlignment, PFA_CENTER);
    (void)plain;
}

TEST_F(EditorOperations, FindAndReplaceThroughTheDialogs)
{
    const int n = editor(0);
    set_text("abc Abc abcd\r\nxx abc");
    int start = 0;
    korv::edit_selection_set(start, 0);
    EndOfTextBoxes boxes;
    command(n, cmd::find);
    HWND dialog = editor_of(n)->find_dialog;
    ASSERT_NE(dialog, nullptr);
    type_into(dialog, 1152, "abc");
    const std::vector<std::pair<int, int>> found = {{0, 3}, {4, 7}, {8, 11}, {16, 19}};
    for (const auto& [from, to] : found) {
        click(dialog, IDOK);
        EXPECT_EQ(selection(n).cpMin, from);
        EXPECT_EQ(selection(n).cpMax, to);
    }
    click(dialog, IDOK);
    poll_until([&] { return boxes.count != 0; }, 2000);
    EXPECT_EQ(boxes.count, 1);
    EXPECT_EQ(EndOfTextBoxes::title, "Find");
    EXPECT_EQ(selection(n).cpMin, 16);
    check(dialog, 1056, true);  // up
    click(dialog, IDOK);
    EXPECT_EQ(selection(n).cpMin, 8);
    EXPECT_EQ(selection(n).cpMax, 11);

    command(n, cmd::replace);
    dialog = editor_of(n)->find_dialog;
    ASSERT_NE(dialog, nullptr);
    type_into(dialog, 1152, "abc");
    type_into(dialog, 1153, "XY");
    boxes.count = 0;
    click(dialog, 1025);  // Replace All
    poll_until([&] { return boxes.count != 0; }, 2000);
    EXPECT_EQ(window_text(text_of(n)), "XY XY XYd\r\nxx XY");
    EXPECT_EQ(boxes.count, 1);

    set_text("abc Abc abcd\r\nxx abc");
    check(dialog, 1041, true);  // match case
    boxes.count = 0;
    click(dialog, 1025);
    poll_until([&] { return boxes.count != 0; }, 2000);
    EXPECT_EQ(window_text(text_of(n)), "XY Abc XYd\r\nxx XY");

    // An empty find text finds nothing and changes nothing.
    type_into(dialog, 1152, "");
    boxes.count = 0;
    click(dialog, 1025);
    poll_until([&] { return boxes.count != 0; }, 2000);
    EXPECT_EQ(window_text(text_of(n)), "XY Abc XYd\r\nxx XY");

    // Closing the editor takes its dialog with it.
    WindowCloseChild(n);
    drain();
    EXPECT_FALSE(IsWindow(dialog));
}

TEST_F(EditorOperations, SearchCommandsReportedToTheProgram)
{
    const int n = editor(opt::commands_reported);
    set_text("abc abc");
    EndOfTextBoxes boxes;
    command(n, cmd::find);
    HWND dialog = editor_of(n)->find_dialog;
    ASSERT_NE(dialog, nullptr);
    type_into(dialog, 1152, "abc");
    drain();
    // Pressed inside the event wait, which keeps what is posted meanwhile.
    PostMessageA(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
    std::vector<int> commands;
    for (Event e = wait_event(500); e.type != -1; e = wait_event(300))
        if (e.type == korv::event::command) commands.push_back(e.record.slot(2));
    command(n, cmd::replace);
    dialog = editor_of(n)->find_dialog;
    type_into(dialog, 1152, "abc");
    PostMessageA(GetDlgItem(dialog, 1024), BM_CLICK, 0, 0);
    for (Event e = wait_event(500); e.type != -1; e = wait_event(300))
        if (e.type == korv::event::command) commands.push_back(e.record.slot(2));
    EXPECT_EQ(commands, (std::vector<int>{cmd::find, cmd::replace}));
}

TEST_F(EditorOperations, BookmarkFollowsTypedAndDeletedText)
{
    const int n = editor(0);
    set_text(std::string(300, 'x'));
    int start = 100;
    korv::edit_selection_set(start, 100);
    command(n, cmd::set_bookmark);
    EXPECT_EQ(editor_of(n)->bookmark[1], 100);
    SetForegroundWindow(slot(n).frame);
    SetFocus(text_of(n));
    start = 10;
    korv::edit_selection_set(start, 10);
    type_text("abcde");
    settle();
    EXPECT_EQ(editor_of(n)->bookmark[1], 105);
    start = 200;
    korv::edit_selection_set(start, 210);
    press(VK_DELETE);
    settle();
    EXPECT_EQ(window_text(text_of(n)).size(), 295u);
    EXPECT_EQ(editor_of(n)->bookmark[1], 105);
}

namespace {

// Colours characters 1..3 of line 0 red, or whole lines in the highlight.
bool whole_lines = false;
void red_hook(int, int, int, int maximum, int* firsts, int* lasts, std::int32_t* colours, int& count,
              const char*, int length)
{
    count = 0;
    if (maximum < 1) return;
    if (whole_lines) {
        firsts[0] = 1;
        lasts[0] = length;
        colours[0] = -1;
        count = 1;
        return;
    }
    firsts[0] = 1;
    lasts[0] = 3;
    colours[0] = 0x0000FF;  // red
    count = 1;
}

// Columns of the control's first text row that hold a pixel of colour.
std::vector<int> columns_with(HWND control, COLORREF colour, int y0, int y1)
{
    std::vector<int> columns;
    RECT client{};
    GetClientRect(control, &client);
    HDC dc = GetDC(control);
    for (int x = 0; x < client.right; ++x)
        for (int y = y0; y < y1; ++y)
            if (GetPixel(dc, x, y) == colour) {
                columns.push_back(x);
                break;
            }
    ReleaseDC(control, dc);
    return columns;
}

} // namespace

TEST_F(EditorOperations, ProgramHookColoursVisibleLines)
{
    const int n = editor(opt::word_wrap);
    set_text("WWWWWW\r\nWWWWWW");
    HWND control = text_of(n);
    ShowWindow(slot(n).frame, SW_SHOW);
    whole_lines = false;
    korv::edit_colour_hook_set(red_hook);
    korv::edit_paint_enable();
    RedrawWindow(control, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    settle();
    POINTL c1{}, c4{}, line2{};
    SendMessageA(control, EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&c1), 0);
    SendMessageA(control, EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&c4), 3);
    SendMessageA(control, EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&line2), 7);
    const auto red = columns_with(control, RGB(255, 0, 0), c1.y, line2.y);
    ASSERT_FALSE(red.empty());
    EXPECT_GE(red.front(), c1.x);
    EXPECT_LT(red.back(), c4.x);
    // The second line has red in the same three characters, nowhere else.
    const auto red2 = columns_with(control, RGB(255, 0, 0), line2.y, line2.y + editor_of(n)->line_height);
    EXPECT_FALSE(red2.empty());

    whole_lines = true;
    RedrawWindow(control, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    settle();
    EXPECT_FALSE(columns_with(control, GetSysColor(COLOR_HIGHLIGHT), c1.y, line2.y).empty());

    korv::edit_colour_hook_set(nullptr);
    RedrawWindow(control, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    settle();
    EXPECT_TRUE(columns_with(control, RGB(255, 0, 0), c1.y, line2.y).empty());
    EXPECT_TRUE(columns_with(control, GetSysColor(COLOR_HIGHLIGHT), c1.y, line2.y).empty());
}

TEST_F(EditorOperations, ZoomKeepsTheFirstVisibleLine)
{
    const int n = editor(0);
    std::string text;
    for (int i = 0; i < 200; ++i) text += "line " + std::to_string(i) + "\r\n";
    set_text(text);
    korv::edit_paint_enable();
    HWND control = text_of(n);
    korv::edit_scroll_to_line(40);
    settle();
    ASSERT_EQ(query(n, 9), 40);
    SendMessageA(control, WM_MOUSEWHEEL, MAKEWPARAM(MK_CONTROL, WHEEL_DELTA), 0);
    settle();
    EXPECT_EQ(query(n, 9), 40);
}

TEST_F(EditorOperations, SwitchedAwayRtfBufferComesBackWhole)
{
    WorkDirectory dir;
    file_write(dir.path("zwei.txt"), "second buffer");
    const int n = editor(opt::formatted | opt::several_buffers, "Puffer");
    std::string text;
    for (int i = 0; i < 80; ++i) text += "row " + std::to_string(i) + "\r\n";
    set_text(text);
    int status = -1;
    korv::edit_char_format_set(status, 1, 3, 1, -1, -1, -1, -1, -2, -2, "");
    ASSERT_EQ(status, 0);
    int start = 7;
    korv::edit_selection_set(start, 9);
    korv::edit_scroll_to_line(30);
    korv::edit_modified_set(0, 7);
    const CHARRANGE chosen = selection(n);
    ASSERT_EQ(query(n, 9), 30);

    WEditFile("zwei.txt", 2, 0, opt::formatted | opt::several_buffers, 4, 0);
    drain();
    ASSERT_EQ(query(n, 7), 2);
    EXPECT_EQ(window_text(text_of(n)), "second buffer");

    korv::edit_buffer_select(1, status);
    ASSERT_EQ(status, 0);
    settle();
    EXPECT_EQ(window_text(text_of(n)).substr(0, 6), "row 0\r");
    EXPECT_EQ(selection(n).cpMin, chosen.cpMin);
    EXPECT_EQ(selection(n).cpMax, chosen.cpMax);
    EXPECT_EQ(query(n, 9), 30);
    EXPECT_EQ(query(n, 1), 0);
    EXPECT_EQ(query(n, 3), 7);
    CHARRANGE bold{0, 3};
    SendMessageA(text_of(n), EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&bold));
    CHARFORMATA format{};
    format.cbSize = sizeof format;
    SendMessageA(text_of(n), EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
    EXPECT_TRUE((format.dwMask & CFM_BOLD) && (format.dwEffects & CFE_BOLD));
    CHARRANGE plain{4, 6};
    SendMessageA(text_of(n), EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&plain));
    SendMessageA(text_of(n), EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
    EXPECT_FALSE(format.dwEffects & CFE_BOLD);

    // A row that holds no stored text gives nothing back.
    const std::string before = window_text(text_of(n));
    korv::edit_buffer_restore(n, 5);
    EXPECT_EQ(window_text(text_of(n)), before);
}

TEST_F(EditorOperations, FontDialogUnderlineBoxFollowsTheSelection)
{
    const int n = editor(opt::formatted | opt::extended_toolbar);
    set_text("plain under");
    int status = 0;
    korv::edit_char_format_set(status, 7, 11, -1, -1, 1, -1, -1, -2, -2, "");
    ASSERT_EQ(status, 0);
    std::vector<int> enabled;
    for (const auto& range : {CHARRANGE{0, 5}, CHARRANGE{6, 11}}) {
        SendMessageA(text_of(n), EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
        int seen = -1;
        korv::testing::answer_dialogs({{"Font", IDCANCEL, [&](HWND d) {
                                            seen = IsWindowEnabled(GetDlgItem(d, 1041)) ? 1 : 0;
                                        }}});
        command(n, cmd::font);
        enabled.push_back(seen);
    }
    EXPECT_EQ(enabled, (std::vector<int>{0, 1}));
}
