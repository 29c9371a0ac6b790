// Editors inside the window layer, end to end: keys reach a modeless
// editor through the toolkit's own event wait, a split window's keys and
// menu help reach the editor pane it shows, its close request asks the
// pane first, and closing the root window leaves no stored buffer behind.
#include <windows.h>

#include <commctrl.h>
#include <richedit.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "editor_gui_support.h"
#include "korvanthide/startup.h"
#include "korvanthide/window.h"
#include "korvanthide/window_ops.h"
#include "editor/editor_record.h"

namespace {

using namespace editor_test;
using namespace korv::testing;
namespace opt = korv::EditorOptionFlags;
namespace cmd = korv::editor_command;

void type_at_end(int n, const std::string& text)
{
    SetForegroundWindow(GetAncestor(slot(n).frame, GA_ROOT));
    SetFocus(text_of(n));
    SendMessageA(text_of(n), EM_SETSEL, static_cast<WPARAM>(-1), -1);
    type_text(text);
    settle();
}

CHARRANGE selection(int n)
{
    CHARRANGE range{};
    SendMessageA(text_of(n), EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
    return range;
}

// The next event of `type`, skipping others; type -1 when none came.
Event next_of_type(int type)
{
    for (int i = 0; i < 20; ++i) {
        Event e = wait_event(500);
        if (e.type == type || e.type == -1) return e;
    }
    return {};
}

class EditorRouting : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        root_window_open("Editor routing");
    }
    static void TearDownTestSuite() { WRootWindowClose(); }
    void TearDown() override
    {
        hold_keys({VK_CONTROL}, false);
        for (int n = 1; n <= korv::max_window; ++n) {
            if (slot(n).frame != nullptr && GetParent(slot(n).frame) == nullptr) WindowCloseChild(n);
        }
        drain();
    }

    // A split window with a status bar: an editor of `file` in the first
    // pane, hosted by the split window, and a plain second pane.
    struct Split {
        int window = -1;
        int editor = -1;
        int other = -1;
    };
    Split open_split(const char* file, int options = 0)
    {
        Split split;
        split.window = open_window("Geteilt", korv::winflag::defaults | korv::winflag::status_bar);
        korv::win_split(split.editor, split.other, 0, -1, {}, {});
        int current = split.editor;
        int width = 0;
        int height = 0;
        korv::win_select(current, width, height);
        WEditFile(file, 2, 0, options, 4, 0, {}, -1, split.window);
        drain();
        return split;
    }

    WorkDirectory dir;
};

// The commands that reach an editor's frame, seen through a subclass that
// hands every message on to the editor.
std::vector<int> commands_seen;
WNDPROC editor_proc = nullptr;

LRESULT CALLBACK command_recorder(HWND frame, UINT message, WPARAM w, LPARAM l)
{
    if (message == WM_COMMAND && l == 0) commands_seen.push_back(LOWORD(w));
    return CallWindowProcA(editor_proc, frame, message, w, l);
}

TEST_F(EditorRouting, SaveFindAndPrintKeysReachAModelessEditor)
{
    file_write(dir.path("tasten.txt"), "eins zwei eins");
    const int n = open_window("Tasten");
    WEditFile("tasten.txt", 2, 0, opt::commands_reported, 4, 0);
    drain();
    ASSERT_NE(text_of(n), nullptr);
    editor_proc = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
        slot(n).frame, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&command_recorder)));

    type_at_end(n, "!");
    // Find Next stays grey, and its key does nothing, until a search text
    // was given, as the search dialog would.
    const std::string search = "eins";
    std::copy(search.begin(), search.end(), editor_of(n)->find_text.begin());
    const struct {
        WORD key;
        bool ctrl;
        int command;
    } keys[] = {{'S', true, cmd::save}, {'F', true, cmd::find}, {VK_F3, false, cmd::find_next},
                {'P', true, cmd::print}};
    for (const auto& k : keys) {
        commands_seen.clear();
        SetFocus(text_of(n));
        press(k.key, k.ctrl);
        settle();
        EXPECT_EQ(commands_seen, std::vector<int>{k.command}) << k.command;
    }
    EXPECT_EQ(file_read(dir.path("tasten.txt")), "eins zwei eins!");
    // Printing only reports its command under this option.
    press('P', true);
    const Event e = next_of_type(2);
    EXPECT_EQ(e.record.slot(2), cmd::print);
    EXPECT_EQ(e.record.slot(1), n);
    SetWindowLongPtrA(slot(n).frame, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(editor_proc));
}

TEST_F(EditorRouting, SplitWindowKeysWorkTheEditorPaneNotTheOtherPane)
{
    file_write(dir.path("geteilt.txt"), "alles markieren");
    const Split split = open_split("geteilt.txt");
    ASSERT_NE(editor_of(split.editor), nullptr);
    ASSERT_NE(editor_of(split.editor)->pane_accelerators, nullptr);
    drain();

    hold_keys({VK_CONTROL}, true);
    PostMessageA(slot(split.window).client, WM_KEYDOWN, 'A', 0);
    settle();
    // All of it, with the control's closing paragraph mark.
    EXPECT_EQ(selection(split.editor).cpMin, 0);
    EXPECT_GE(selection(split.editor).cpMax, 15);

    // The other pane's keys stay its own events.
    PostMessageA(slot(split.other).client, WM_KEYDOWN, 'A', 0);
    const Event e = next_of_type(1);
    hold_keys({VK_CONTROL}, false);
    EXPECT_EQ(e.record.slot(1), split.other);
}

// Reads the status bar while the split window's File menu is open with its
// first item selected, then closes the menu.
std::string help_seen;
HWND help_bar = nullptr;

void CALLBACK help_probe(HWND, UINT, UINT_PTR id, DWORD)
{
    if (menu_window() == nullptr) return;
    KillTimer(nullptr, id);
    char text[256] = {};
    SendMessageA(help_bar, SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(text));
    help_seen = text;
    press_keys({{VK_ESCAPE}, {VK_ESCAPE}});
}

TEST_F(EditorRouting, SplitWindowMenuShowsTheEditorPanesHelp)
{
    const Split split = open_split("");
    SetForegroundWindow(slot(split.window).frame);
    SetFocus(text_of(split.editor));
    settle();
    ASSERT_EQ(GetMenu(slot(split.window).frame), editor_of(split.editor)->menu_bar);

    help_seen.clear();
    help_bar = slot(split.window).status_bar;
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, help_probe);
    press(VK_MENU);
    press('F');
    poll_until([] { return !help_seen.empty(); }, 3000);
    KillTimer(nullptr, timer);
    EXPECT_EQ(help_seen, "Creates a new document");
}

TEST_F(EditorRouting, SplitWindowClosesOnlyWhenItsEditorBuffersAgree)
{
    file_write(dir.path("eins.txt"), "eins");
    file_write(dir.path("zwei.txt"), "zwei");
    const Split split = open_split("eins.txt", opt::several_buffers);
    type_at_end(split.editor, "1");
    WEditFile("zwei.txt", 2, 0, opt::several_buffers, 4, 0, {}, -1, split.window);
    drain();
    ASSERT_EQ(editor_of(split.editor)->current_buffer, 2);
    type_at_end(split.editor, "2");

    {
        // No for the current buffer, Cancel for the other: the window stays
        // and shows the buffer it showed before.
        BoxAnswerer boxes(IDNO);
        boxes.then(IDCANCEL);
        PostMessageA(slot(split.window).frame, WM_CLOSE, 0, 0);
        EXPECT_EQ(next_of_type(9).type, -1);
        EXPECT_EQ(boxes.count(), 2);
        EXPECT_NE(boxes.last_text().find("eins.txt"), std::string::npos) << boxes.last_text();
        EXPECT_EQ(editor_of(split.editor)->current_buffer, 2);
        EXPECT_EQ(window_text(text_of(split.editor)), "zwei2");
    }
    BoxAnswerer boxes(IDNO);
    PostMessageA(slot(split.window).frame, WM_CLOSE, 0, 0);
    const Event e = next_of_type(9);
    EXPECT_EQ(e.type, 9);
    EXPECT_EQ(e.record.slot(1), split.window);
    EXPECT_EQ(boxes.count(), 2);
    EXPECT_EQ(file_read(dir.path("eins.txt")), "eins");
}

TEST_F(EditorRouting, RootWindowCloseEmptiesEveryStoredBuffer)
{
    file_write(dir.path("a.txt"), "a");
    file_write(dir.path("b.txt"), "b");
    const int n = open_window("Puffer");
    WEditFile("a.txt", 2, 0, opt::several_buffers, 4, 0);
    WEditFile("b.txt", 2, 0, opt::several_buffers, 4, 0);
    drain();
    korv::EditorBufferTable& table = korv::editor_buffer_table();
    ASSERT_TRUE(table.row(n, 1).name_stored);
    ASSERT_TRUE(table.row(n, 1).text_stored);

    WRootWindowClose();
    for (int buffer = 1; buffer <= 2; ++buffer) {
        const korv::EditorBufferRecord& row = table.row(n, buffer);
        EXPECT_FALSE(row.name_stored);
        EXPECT_FALSE(row.text_stored);
        EXPECT_TRUE(row.file_name.empty());
        EXPECT_TRUE(row.text.empty());
    }
    WindowOpen(korv::winflag::defaults | korv::winflag::hidden, -999999, -999999, 640, 480, 0, {}, 0,
               "Editor routing");
    drain();
}

} // namespace
