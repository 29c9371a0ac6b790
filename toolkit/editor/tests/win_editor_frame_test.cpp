// The editor's frame end to end: status bar, title, a program's menu,
// several buffers, the modal editor and the command line, driven with real
// keys and read back as the user sees them.
#include <windows.h>

#include <commctrl.h>
#include <richedit.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editor_gui_support.h"
#include "korvanthide/dialogs_win.h"
#include "korvanthide/errors.h"
#include "korvanthide/menus.h"
#include "korvanthide/startup.h"
#include "korvanthide/window.h"
#include "korvanthide/window_ops.h"
#include "editor/editor_record.h"
#include "editor/win_editor.h"

namespace {

using namespace editor_test;
using namespace korv::testing;
namespace opt = korv::EditorOptionFlags;
namespace cmd = korv::editor_command;

void focus_text(int n)
{
    SetForegroundWindow(slot(n).frame);
    SetFocus(text_of(n));
}

std::string status_part(int n, int part)
{
    char text[256] = {};
    SendMessageA(slot(n).status_bar, SB_GETTEXTA, static_cast<WPARAM>(part), reinterpret_cast<LPARAM>(text));
    return text;
}

std::vector<std::string> items(HMENU menu)
{
    std::vector<std::string> texts;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        char text[300] = {};
        GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
        texts.push_back(text);
    }
    return texts;
}

bool item_checked(HMENU menu, int position)
{
    return (GetMenuState(menu, static_cast<UINT>(position), MF_BYPOSITION) & MF_CHECKED) != 0;
}

class EditorFrame : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        root_window_open("Editor frame");
    }
    static void TearDownTestSuite() { WRootWindowClose(); }
    void SetUp() override { korv::error_state().last_error = 0; }
    void TearDown() override { child_windows_close(); }
    WorkDirectory dir;
};

TEST_F(EditorFrame, StatusBarFollowsCaretKeysAndModifiedText)
{
    file_write(dir.path("zeilen.txt"), "");
    const int n = open_window("Notiz", korv::winflag::defaults | korv::winflag::status_bar);
    WEditFile("zeilen.txt", 2, 0, opt::modified_mark, 4, 0);
    drain();
    ASSERT_NE(editor_of(n), nullptr);
    int edges[8] = {};
    EXPECT_EQ(SendMessageA(slot(n).status_bar, SB_GETPARTS, 8, reinterpret_cast<LPARAM>(edges)), 4);
    EXPECT_EQ(std::vector<int>(edges, edges + 4), (std::vector<int>{140, 170, 210, 250}));
    EXPECT_EQ(status_part(n, 0), "Line:1   Col:1");
    EXPECT_EQ(status_part(n, 3), "\tINS");
    EXPECT_EQ(window_text(slot(n).frame), "Notiz - [" + dir.path("zeilen.txt") + "]");

    focus_text(n);
    type_text("ab");
    press(VK_RETURN);
    type_text("cde");
    settle();
    EXPECT_EQ(status_part(n, 0), "Line:2   Col:4");
    EXPECT_EQ(window_text(slot(n).frame), "Notiz - [" + dir.path("zeilen.txt") + " *]");
    EXPECT_EQ(editor_of(n)->program_value, 1);
    press(VK_INSERT);
    settle();
    EXPECT_EQ(status_part(n, 3), "\tOVR");
}

TEST_F(EditorFrame, FrameWithoutCaptionShowsTheNameInTheStatusBar)
{
    file_write(dir.path("ohne.txt"), "x");
    const int n = open_window("Ohne", korv::winflag::defaults | korv::winflag::status_bar);
    HWND frame = slot(n).frame;
    SetWindowLongA(frame, GWL_STYLE, GetWindowLongA(frame, GWL_STYLE) & ~WS_CAPTION);
    SetWindowPos(frame, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
    WEditFile("ohne.txt", 2, 0, 0, 4, 0);
    drain();
    int edges[8] = {};
    EXPECT_EQ(SendMessageA(slot(n).status_bar, SB_GETPARTS, 8, reinterpret_cast<LPARAM>(edges)), 5);
    EXPECT_EQ(edges[4], -1);
    EXPECT_EQ(status_part(n, 4), dir.path("ohne.txt"));
}

TEST_F(EditorFrame, ProgramMenuCommandsAndBadFontCodes)
{
    const int n = open_window("Programm");
    WEditFile("", 2, 800, 0, 12, 0);
    drain();
    EXPECT_EQ(korv::error_state().last_error, 1116);
    ASSERT_NE(editor_of(n), nullptr);
    EXPECT_EQ(editor_of(n)->font_code, 0);
    HMENU bar = GetMenu(slot(n).frame);
    EXPECT_EQ(items(bar), (std::vector<std::string>{"&File", "&Edit", "&Search", "&Programm"}));
    EXPECT_EQ(korv::win_menu_help_text(n, 900), "Rechnet alles neu");

    SetForegroundWindow(slot(n).frame);
    press_keys({{'P', false, false, true}, {'R'}});
    const Event chosen = wait_event();
    ASSERT_EQ(chosen.type, korv::event::command);
    EXPECT_EQ(chosen.record.slot(2), 900);
    EXPECT_EQ(chosen.record.slot(1), n);
    EXPECT_EQ(GetWindowTextLengthA(text_of(n)), 0);  // nothing else changed
}

TEST_F(EditorFrame, SeveralBuffersAddSwitchCloseAndStopAt35)
{
    for (const char* name : {"a.txt", "b.txt", "c.txt"}) file_write(dir.path(name), std::string("Datei ") + name);
    const int n = open_window("Puffer");
    WEditFile("a.txt", 2, 0, opt::several_buffers, 4, 0);
    WEditFile("b.txt");
    WEditFile("c.txt");
    drain();
    EditorWindowRecord* record = editor_of(n);
    ASSERT_NE(record, nullptr);
    HMENU view = record->view_menu;
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(record->buffers, 3);
    EXPECT_EQ(items(view), (std::vector<std::string>{"&1 " + dir.path("a.txt"), "&2 " + dir.path("b.txt"),
                                                     "&3 " + dir.path("c.txt")}));
    EXPECT_TRUE(item_checked(view, 2));
    EXPECT_FALSE(item_checked(view, 0));

    // The same file again, in other letters: its buffer comes back.
    std::string upper = dir.path("B.TXT");
    WEditFile(upper);
    drain();
    EXPECT_EQ(record->buffers, 3);
    EXPECT_EQ(record->current_buffer, 2);
    EXPECT_EQ(window_text(text_of(n)), "Datei b.txt");

    // A change survives a switch away and back.
    focus_text(n);
    SendMessageA(text_of(n), EM_SETSEL, 0, 0);
    type_text("neu ");
    settle();
    SetForegroundWindow(slot(n).frame);
    press_keys({{'V', false, false, true}, {'1'}});
    Event switched = wait_event();
    ASSERT_EQ(switched.type, korv::event::command);
    EXPECT_EQ(switched.record.slot(2), cmd::view_menu + 1);
    EXPECT_EQ(window_text(text_of(n)), "Datei a.txt");
    EXPECT_TRUE(item_checked(view, 0));
    press_keys({{'V', false, false, true}, {'2'}});
    switched = wait_event();
    EXPECT_EQ(window_text(text_of(n)), "neu Datei b.txt");
    EXPECT_NE(SendMessageA(text_of(n), EM_GETMODIFY, 0, 0), 0);

    // Closing buffer 2 of 3 makes the former buffer 3 buffer 2.
    SendMessageA(text_of(n), EM_SETMODIFY, FALSE, 0);
    press_keys({{'F', false, false, true}, {'C'}});
    const Event closed = wait_event();
    ASSERT_EQ(closed.type, korv::event::command);
    EXPECT_EQ(closed.record.slot(2), cmd::close);
    EXPECT_EQ(record->buffers, 2);
    EXPECT_EQ(record->current_buffer, 2);
    EXPECT_EQ(window_text(text_of(n)), "Datei c.txt");
    EXPECT_EQ(items(view), (std::vector<std::string>{"&1 " + dir.path("a.txt"), "&2 " + dir.path("c.txt")}));
    EXPECT_STREQ(record->file(), dir.path("c.txt").c_str());

    // Up to 35 buffers; the 36th is refused.
    for (int i = 3; i <= 35; ++i) {
        std::string name = "f";
        name += std::to_string(i);
        name += ".txt";
        file_write(dir.path(name), name);
        WEditFile(name);
    }
    drain();
    EXPECT_EQ(korv::error_state().last_error, 0);
    EXPECT_EQ(record->buffers, 35);
    EXPECT_EQ(items(view)[9].substr(0, 3), "&A ");
    EXPECT_EQ(items(view)[34].substr(0, 3), "&Z ");
    file_write(dir.path("zuviel.txt"), "x");
    WEditFile("zuviel.txt");
    EXPECT_EQ(korv::error_state().last_error, 1068);
    EXPECT_EQ(record->buffers, 35);
    EXPECT_EQ(window_text(text_of(n)), "f35.txt");
}

TEST_F(EditorFrame, OnlyBufferClosedAndUntouchedBufferReused)
{
    file_write(dir.path("eins.txt"), "eins");
    const int n = open_window("Puffer");
    WEditFile("", 2, 0, opt::several_buffers, 4, 0);
    WEditFile("eins.txt");
    drain();
    EditorWindowRecord* record = editor_of(n);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->buffers, 1);
    EXPECT_EQ(items(record->view_menu), (std::vector<std::string>{"&1 " + dir.path("eins.txt")}));

    SetForegroundWindow(slot(n).frame);
    press_keys({{'F', false, false, true}, {'C'}});
    EXPECT_EQ(wait_event().record.slot(2), cmd::close);
    EXPECT_EQ(items(record->view_menu), (std::vector<std::string>{"&1 Untitled"}));
    EXPECT_EQ(window_text(text_of(n)), "");
    EXPECT_EQ(window_text(slot(n).frame), "Puffer");
}

// Steps of a modal editor's life, run from a timer inside its own loop.
struct ModalScript {
    int step = 0;
    int window = 0;
    BoxAnswerer* boxes = nullptr;
};
ModalScript script;

void CALLBACK modal_step(HWND, UINT, UINT_PTR, DWORD)
{
    const EditorWindowRecord* record = korv::edit_record(slot(script.window).frame);
    if (record == nullptr) return;
    switch (script.step) {
    case 0:  // change the text and ask to close: Cancel keeps it open
        SetForegroundWindow(record->frame);
        SetFocus(record->subject);
        SendMessageA(record->subject, EM_SETSEL, static_cast<WPARAM>(-1), -1);
        type_text("!");
        press(VK_F4, false, false, true);
        script.step = 1;
        break;
    case 1:
        // Once the first question is answered and gone, ask again.
        if (script.boxes->count() == 1 && IsWindowEnabled(record->frame)) {
            script.boxes->answer(IDNO);
            press(VK_F4, false, false, true);
            script.step = 2;
        }
        break;
    default:
        break;
    }
}

TEST_F(EditorFrame, ModalEditorRunsItsOwnLoopAndAsksBeforeClosing)
{
    file_write(dir.path("modal.txt"), "ab\r\ncd");
    const int n = open_window("Modal");
    script = ModalScript{0, n, nullptr};
    BoxAnswerer boxes(IDCANCEL);
    script.boxes = &boxes;
    const UINT_PTR timer = SetTimer(nullptr, 0, 100, modal_step);
    WEditFile("modal.txt", 1, 0, 0, 4, 0);
    KillTimer(nullptr, timer);

    EXPECT_EQ(boxes.count(), 2);
    EXPECT_EQ(slot(n).frame, nullptr);  // closed and its slot given back
    const EditorModalResult& result = korv::editor_modal_result();
    EXPECT_EQ(result.unchanged, 0);
    EXPECT_EQ(result.text_length, 7);  // a, b, line end (2), c, d, !
    EXPECT_EQ(result.selection_start, 7);
    EXPECT_EQ(result.file_name, dir.path("modal.txt"));
    EXPECT_EQ(file_read(dir.path("modal.txt")), "ab\r\ncd");  // answered No
    EXPECT_EQ(korv::error_state().last_error, 0);
}

TEST_F(EditorFrame, CommandLineReportsEnterAndKeepsItsHistory)
{
    const int n = open_window("Befehle");
    WEditFile("", 2, 0, opt::history, 4, 0);
    drain();
    EditorWindowRecord* record = editor_of(n);
    ASSERT_NE(record, nullptr);
    ASSERT_NE(record->command_line, nullptr);
    ASSERT_NE(record->command_line, record->command_edit);  // a combo box
    SetForegroundWindow(slot(n).frame);
    SetFocus(record->command_edit);
    for (const char* line : {"eins", "zwei", "zwei", "   "}) {
        SetWindowTextA(record->command_edit, "");
        type_text(line);
        press(VK_RETURN);
        const Event entered = wait_event();
        ASSERT_EQ(entered.type, korv::event::command_line) << line;
        EXPECT_EQ(entered.record.slot(1), n);
    }
    HWND combo = record->command_line;
    ASSERT_EQ(SendMessageA(combo, CB_GETCOUNT, 0, 0), 2);
    char entry[32] = {};
    SendMessageA(combo, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(entry));
    EXPECT_STREQ(entry, "zwei");

    // Down goes to older entries, past the last to an empty line.
    SendMessageA(combo, CB_SETCURSEL, 0, 0);
    press(VK_DOWN);
    settle();
    EXPECT_EQ(window_text(record->command_edit), "eins");
    press(VK_DOWN);
    settle();
    EXPECT_EQ(window_text(record->command_edit), "");
    // Esc empties the line; Tab goes to the text.
    type_text("weg");
    press(VK_ESCAPE);
    settle();
    EXPECT_EQ(window_text(record->command_edit), "");
    press(VK_TAB);
    settle();
    EXPECT_EQ(GetFocus(), record->subject);
}

} // namespace

namespace {

TEST_F(EditorFrame, WindowsThatCannotBecomeEditors)
{
    // The root window, a window with something in its client, a mode that
    // an inside-parent window cannot take, a menu it cannot show.
    korv::window_tables().current = 0;
    WEditFile("", 2, 0, 0, 4, 0);
    EXPECT_EQ(korv::error_state().last_error, 1022);

    const int busy = open_window("Belegt");
    HWND inner = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, slot(busy).client,
                                 nullptr, nullptr, nullptr);
    WEditFile("", 2, 0, 0, 4, 0);
    EXPECT_EQ(korv::error_state().last_error, 1057);
    EXPECT_EQ(editor_of(busy), nullptr);
    DestroyWindow(inner);

    const int parent = open_window("Eltern");
    struct Case {
        int mode, menu, error, final_mode;
        bool menus;
    };
    for (const Case& c : {Case{1, 0, 1024, 2, false}, Case{3, 0, 1024, 2, false}, Case{2, 800, 1025, 2, false}}) {
        int inside = -1;
        WindowOpenChild(inside, korv::winflag::defaults | korv::winflag::inside_parent, 100, 100, 6000, 6000, 0,
                        {}, 0, "Innen", parent);
        ASSERT_GT(inside, 0);
        korv::error_state().last_error = 0;
        WEditFile("", c.mode, c.menu, 0, 4, 0);
        EXPECT_EQ(korv::error_state().last_error, c.error) << c.mode;
        ASSERT_NE(editor_of(inside), nullptr) << c.mode;
        EXPECT_EQ(editor_of(inside)->mode, c.final_mode);
        EXPECT_EQ(editor_of(inside)->menu_bar != nullptr, c.menus);
        WindowCloseChild(inside);
    }
}

TEST_F(EditorFrame, SemiModelessEditorDisablesTheOthersWhileItLives)
{
    const int other = open_window("Andere");
    const int n = open_window("Halbmodal");
    WEditFile("", 3, 0, 0, 4, 0);
    drain();
    EXPECT_EQ(korv::dialog_table().semi_modeless_count, 1);
    EXPECT_FALSE(IsWindowEnabled(slot(other).frame));
    EXPECT_TRUE(IsWindowEnabled(slot(n).frame));
    WindowCloseChild(n);
    EXPECT_EQ(korv::dialog_table().semi_modeless_count, 0);
    EXPECT_TRUE(IsWindowEnabled(slot(other).frame));
}

// Reads the status bar's help while a menu is open: once the File menu
// shows (with its first item selected), Down selects the second; on the
// next tick the help is read and the menu closed.
std::string menu_help_seen;
HWND menu_help_bar = nullptr;
int menu_help_step = 0;

void CALLBACK menu_help_probe(HWND, UINT, UINT_PTR id, DWORD)
{
    if (menu_window() == nullptr) return;
    if (menu_help_step++ == 0) {
        press(VK_DOWN);
        return;
    }
    KillTimer(nullptr, id);
    // A simple bar answers for its one part under index 0.
    char text[256] = {};
    SendMessageA(menu_help_bar, SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(text));
    menu_help_seen = text;
    press_keys({{VK_ESCAPE}, {VK_ESCAPE}});
}

TEST_F(EditorFrame, MenuHelpAndTooltipsOfTheBuiltInCommands)
{
    const int n = open_window("Hilfe", korv::winflag::defaults | korv::winflag::status_bar);
    WEditFile("", 2, 0, 0, 4, 0);
    drain();
    EditorWindowRecord* record = editor_of(n);
    ASSERT_NE(record, nullptr);
    ASSERT_NE(record->toolbar, nullptr);

    // The toolbar's tooltips ask the frame for their texts.
    for (const auto& [command, expected] : {std::pair{cmd::new_file, "New"}, std::pair{cmd::find, "Find"},
                                            std::pair{cmd::undo, "Undo"}}) {
        char text[80] = {};
        TOOLINFOA tool{};
        tool.cbSize = sizeof tool;
        tool.hwnd = record->toolbar;
        tool.uId = static_cast<UINT_PTR>(command);
        tool.lpszText = text;
        SendMessageA(record->toolbar_tips, TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&tool));
        EXPECT_STREQ(text, expected) << command;
    }

    // Alt, F opens File; its first item is New.
    menu_help_seen.clear();
    menu_help_step = 0;
    menu_help_bar = slot(n).status_bar;
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, menu_help_probe);
    SetForegroundWindow(slot(n).frame);
    press(VK_MENU);
    press('F');
    settle();
    poll_until([] { return !menu_help_seen.empty(); }, 3000);
    KillTimer(nullptr, timer);
    EXPECT_EQ(menu_help_seen, "Opens an existing document");
    settle();
    EXPECT_EQ(SendMessageA(slot(n).status_bar, SB_ISSIMPLE, 0, 0), 0);
}

} // namespace

namespace {

TEST_F(EditorFrame, WrappedLinesDoNotShortenTheTextLength)
{
    const std::string line(600, 'w');
    file_write(dir.path("lang.txt"), line + "\r\nabc");
    const int n = open_window("Umbruch");
    WEditFile("lang.txt", 2, 0, opt::word_wrap, 4, 0);
    drain();
    const EditorWindowRecord* record = editor_of(n);
    ASSERT_NE(record, nullptr);
    ASSERT_GT(SendMessageA(record->subject, EM_GETLINECOUNT, 0, 0), 2);  // the long line wraps
    EXPECT_EQ(korv::edit_text_length(*record), 600 + 2 + 3);
    EXPECT_EQ(korv::edit_control_length(record->subject), 600 + 1 + 3);
    EXPECT_EQ(korv::edit_program_position(*record, 601), 602);
}

} // namespace
