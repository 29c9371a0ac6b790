// Editor files end to end: RTF and plain text read into real RichEdit
// controls, edited with real keys, saved with backup copies; what a failed
// read or a refused save leaves.
#include <windows.h>

#include <richedit.h>

#include <gtest/gtest.h>

#include <string>

#include "editor_gui_support.h"
#include "korvanthide/errors.h"
#include "korvanthide/startup.h"
#include "korvanthide/window.h"
#include "korvanthide/window_ops.h"
#include "editor/editor_record.h"

namespace {

using namespace editor_test;
using namespace korv::testing;
namespace opt = korv::EditorOptionFlags;

// Puts the caret at the end of the text and types there.
void type_at_end(int n, const std::string& text)
{
    HWND control = text_of(n);
    SetForegroundWindow(slot(n).frame);
    SetFocus(control);
    SendMessageA(control, EM_SETSEL, static_cast<WPARAM>(-1), -1);
    type_text(text);
    settle();
}

// File, Save through the menu's access keys.
void save_from_menu(int n)
{
    SetForegroundWindow(slot(n).frame);
    press_keys({{'F', false, false, true}, {'S'}});
}

int count_files(const std::string& pattern)
{
    WIN32_FIND_DATAA found{};
    HANDLE search = FindFirstFileA(pattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return 0;
    int count = 0;
    do {
        ++count;
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return count;
}

class EditorFiles : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        root_window_open("Editor files");
    }
    static void TearDownTestSuite() { WRootWindowClose(); }
    void SetUp() override { korv::error_state().last_error = 0; }
    void TearDown() override { child_windows_close(); }
    WorkDirectory dir;
};

TEST_F(EditorFiles, RoundTripsKeepTheTextAndTheNewestBackup)
{
    struct Case {
        const char* name;
        int options;
        std::string original;
        std::string shown;  // the text as the control shows it
    };
    const Case cases[] = {
        {"notes.txt", opt::backup, "Erste Zeile\r\nZweite Zeile", "Erste Zeile\r\nZweite Zeile"},
        {"brief.rtf", opt::backup | opt::formatted,
         "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\pard\\b Titel\\b0\\par Gr\\'fc\\'dfe\\par}",
         "Titel\r\nGr\xfc\xdf" "e"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        file_write(dir.path(c.name), c.original);
        const int n = open_window("Editor", korv::winflag::defaults, 480);
        WEditFile(c.name, 2, 0, c.options, 4, 0);
        drain();
        ASSERT_NE(editor_of(n), nullptr);
        EXPECT_NE(window_text(text_of(n)).find(c.shown), std::string::npos) << window_text(text_of(n));
        // The buffer keeps its file open: others may read it, not write it.
        EXPECT_FALSE(file_free(dir.path(c.name)));
        EXPECT_EQ(file_read(dir.path(c.name)), c.original);

        type_at_end(n, " eins");
        save_from_menu(n);
        Event saved = wait_event();
        ASSERT_EQ(saved.type, korv::event::command);
        EXPECT_EQ(saved.record.slot(2), korv::editor_command::save);
        EXPECT_EQ(file_read(dir.path(std::string(c.name) + ".bak")), c.original);
        const std::string first_save = file_read(dir.path(c.name));

        type_at_end(n, " zwei");
        save_from_menu(n);
        saved = wait_event();
        ASSERT_EQ(saved.type, korv::event::command);
        // Only the newest copy is kept: the text before the second save.
        EXPECT_EQ(file_read(dir.path(std::string(c.name) + ".bak")), first_save);
        EXPECT_EQ(count_files(dir.path("*.tmp")), 0);

        // What was saved reads back as the text that was edited.
        const std::string edited = window_text(text_of(n));
        EXPECT_NE(edited.find(" eins zwei"), std::string::npos) << edited;
        const int viewer = open_window("Nachlesen", korv::winflag::defaults, 480);
        WEditFile(c.name, 2, 0, opt::viewer | (c.options & opt::formatted), 4, 0);
        drain();
        EXPECT_EQ(window_text(text_of(viewer)), edited);
        if ((c.options & opt::formatted) == 0) {
            EXPECT_EQ(file_read(dir.path(c.name)), edited);
        }

        WindowCloseChild(n);
        WindowCloseChild(viewer);
        EXPECT_TRUE(file_free(dir.path(c.name)));
    }
}

TEST_F(EditorFiles, PlainAndRtfByNameAndOption)
{
    struct Case {
        const char* name;
        std::string bytes;
        bool formatted;
        std::string shown;
    };
    const Case cases[] = {
        {"nullen.txt", std::string("a\0b\x1A", 4), false, "a b"},
        {"mitte.txt", std::string("a\x1A" "b"), false, "a\x1A" "b"},
        {"brace.txt", "{\\rtf1 kein RTF}", true, "{\\rtf1 kein RTF}"},
        {"markup.rtf", "{\\rtf1 {\\b fett}}", false, "{\\rtf1 {\\b fett}}"},
        {"GROSS.RTF", "{\\rtf1 {\\b fett}}", true, "fett"},
    };
    const int plain = open_window("Plain", korv::winflag::defaults, 480);
    WEditFile("", 2, 0, 0, 4, 0);
    const int formatted = open_window("Formatted", korv::winflag::defaults, 480);
    WEditFile("", 2, 0, opt::formatted, 4, 0);
    for (const Case& c : cases) {
        file_write(dir.path(c.name), c.bytes);
        const int n = c.formatted ? formatted : plain;
        korv::window_tables().current = n;
        WEditFile(c.name);
        drain();
        EXPECT_EQ(korv::error_state().last_error, 0) << c.name;
        EXPECT_EQ(window_text(text_of(n)), c.shown) << c.name;
        EXPECT_EQ(window_text(slot(n).frame).find(dir.path(c.name)) != std::string::npos, true) << c.name;
    }
}

TEST_F(EditorFiles, SaveIntoAFileThatCannotBeReplaced)
{
    // Another program holds the file without letting it be renamed: the
    // editor writes into the file itself, which must end where the text
    // ends. Mapped into memory as well, the file cannot be cut: the save
    // fails, says so and leaves the file as it was.
    struct Case {
        bool mapped;
        bool saved;
    };
    for (const Case& c : {Case{false, true}, Case{true, false}}) {
        SCOPED_TRACE(c.mapped ? "mapped" : "held");
        const std::string name = dir.path(c.mapped ? "abgebildet.txt" : "gehalten.txt");
        file_write(name, std::string(5000, 'x'));
        const int n = open_window("Editor", korv::winflag::defaults, 480);
        WEditFile(name, 2, 0, 0, 4, 0);
        drain();
        HWND control = text_of(n);
        ASSERT_NE(control, nullptr);
        SetWindowTextA(control, "kurz");
        SendMessageA(control, EM_SETMODIFY, TRUE, 0);
        HANDLE holder = CreateFileA(name.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(holder, INVALID_HANDLE_VALUE);
        HANDLE mapping = c.mapped ? CreateFileMappingA(holder, nullptr, PAGE_READONLY, 0, 0, nullptr) : nullptr;
        void* view = mapping != nullptr ? MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0) : nullptr;
        BoxAnswerer boxes(IDOK);
        save_from_menu(n);
        const Event saved = wait_event(c.saved ? 3000 : 500);
        if (view != nullptr) UnmapViewOfFile(view);
        if (mapping != nullptr) CloseHandle(mapping);
        CloseHandle(holder);
        EXPECT_EQ(count_files(dir.path("*.tmp")), 0);
        if (c.saved) {
            ASSERT_EQ(saved.type, korv::event::command);
            EXPECT_EQ(file_read(name), "kurz");
            EXPECT_EQ(boxes.count(), 0);
        } else {
            EXPECT_EQ(saved.type, -1);
            EXPECT_EQ(boxes.last_title(), "Write Error");
            EXPECT_NE(SendMessageA(control, EM_GETMODIFY, 0, 0), 0);  // still to be saved
            EXPECT_EQ(file_read(name), std::string(5000, 'x'));         // and the file as it was
        }
        WindowCloseChild(n);
    }
}

// Serves the first half of a large RTF text through a named pipe and then
// breaks the pipe: the reader's stream fails part way through.
struct BrokenPipe {
    std::string name;
    std::string first_half;
    HANDLE pipe = INVALID_HANDLE_VALUE;
    HANDLE thread = nullptr;

    explicit BrokenPipe(std::string pipe_name, std::string bytes)
        : name(std::move(pipe_name)), first_half(std::move(bytes))
    {
        pipe = CreateNamedPipeA(name.c_str(), PIPE_ACCESS_OUTBOUND, PIPE_TYPE_BYTE | PIPE_WAIT, 1,
                                static_cast<DWORD>(first_half.size()) + 4096, 4096, 0, nullptr);
        thread = CreateThread(nullptr, 0, serve, this, 0, nullptr);
    }
    ~BrokenPipe()
    {
        WaitForSingleObject(thread, 5000);
        CloseHandle(thread);
    }
    static DWORD WINAPI serve(void* self)
    {
        auto* p = static_cast<BrokenPipe*>(self);
        ConnectNamedPipe(p->pipe, nullptr);
        DWORD written = 0;
        WriteFile(p->pipe, p->first_half.data(), static_cast<DWORD>(p->first_half.size()), &written, nullptr);
        FlushFileBuffers(p->pipe);
        DisconnectNamedPipe(p->pipe);
        CloseHandle(p->pipe);
        return 0;
    }
};

TEST_F(EditorFiles, ReadFailingPartWayLeavesNoTextAndNoName)
{
    file_write(dir.path("alt.rtf"), "{\\rtf1 Alter Text}");
    const int n = open_window("Editor", korv::winflag::defaults, 480);
    WEditFile("alt.rtf", 2, 0, opt::formatted, 4, 0);
    drain();
    ASSERT_EQ(window_text(text_of(n)), "Alter Text");

    std::string rtf = "{\\rtf1\\ansi ";
    while (rtf.size() < 60000) rtf += "Eine Zeile Text.\\par\n";
    const std::string pipe_name = "\\\\.\\pipe\\korv_editor_" + std::to_string(GetCurrentProcessId()) + ".rtf";
    BrokenPipe source(pipe_name, rtf);
    BoxAnswerer boxes(IDOK);
    WEditFile(pipe_name);
    settle();

    EXPECT_EQ(boxes.count(), 1);
    EXPECT_EQ(boxes.last_title(), "Read Error");
    EXPECT_EQ(window_text(text_of(n)), "");
    EXPECT_STREQ(editor_of(n)->file(), "");
    EXPECT_EQ(window_text(slot(n).frame), "Editor");
    EXPECT_EQ(SendMessageA(text_of(n), EM_GETMODIFY, 0, 0), 0);
    EXPECT_EQ(editor_of(n)->open_files[1], nullptr);
    EXPECT_TRUE(file_free(dir.path("alt.rtf")));
}

TEST_F(EditorFiles, SavePromptAsksBeforeClosing)
{
    file_write(dir.path("prompt.txt"), "Text");
    const int n = open_window("Notizen", korv::winflag::defaults, 480);
    WEditFile("prompt.txt", 2, 0, 0, 4, 0);
    drain();
    type_at_end(n, "!");
    {
        BoxAnswerer boxes(IDCANCEL);
        request_close(slot(n).frame);
        EXPECT_EQ(wait_event(500).type, -1);  // cancelled: no close request
        EXPECT_EQ(boxes.count(), 1);
        EXPECT_EQ(boxes.last_title(), "Notizen");
        EXPECT_EQ(boxes.last_text(), "Do you want to save changes to " + dir.path("prompt.txt") + "?");
    }
    {
        BoxAnswerer boxes(IDYES);
        request_close(slot(n).frame);
        const Event close = wait_event();
        ASSERT_EQ(close.type, korv::event::close_request);
        EXPECT_EQ(close.record.slot(1), n);
        EXPECT_EQ(file_read(dir.path("prompt.txt")), "Text!");
    }
    // Nothing changed since: no question.
    {
        BoxAnswerer boxes(IDNO);
        request_close(slot(n).frame);
        EXPECT_EQ(wait_event().type, korv::event::close_request);
        EXPECT_EQ(boxes.count(), 0);
    }

    const int untitled = open_window("Neu", korv::winflag::defaults, 480);
    WEditFile("", 2, 0, 0, 4, 0);
    drain();
    type_at_end(untitled, "ungespeichert");
    BoxAnswerer boxes(IDNO);
    request_close(slot(untitled).frame);
    EXPECT_EQ(wait_event().type, korv::event::close_request);
    EXPECT_EQ(boxes.last_text(), "Do you want to save changes?");
}

} // namespace

namespace {

// The editor's keys as the message pump routes them: the editor's tables
// first, then translation and dispatch.
void pump_with_editor_routing(int milliseconds)
{
    const DWORD end = GetTickCount() + static_cast<DWORD>(milliseconds);
    while (GetTickCount() < end) {
        MSG message{};
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (korv::edit_message_route(message) == 1) continue;
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        Sleep(10);
    }
}

TEST_F(EditorFiles, EditorKeysReachTheEditorThroughTheRouting)
{
    file_write(dir.path("tasten.txt"), "Text");
    const int n = open_window("Editor", korv::winflag::defaults, 480);
    WEditFile("tasten.txt", 2, 0, 0, 4, 0);
    drain();
    type_at_end(n, "!");
    press('S', true);  // Ctrl+S: Save
    pump_with_editor_routing(300);
    EXPECT_EQ(file_read(dir.path("tasten.txt")), "Text!");

    MSG other{};
    other.hwnd = korv::win_slot(0)->frame;
    other.message = WM_KEYDOWN;
    EXPECT_EQ(korv::edit_message_route(other), 0);
    other.hwnd = text_of(n);
    other.wParam = 'Q';
    EXPECT_EQ(korv::edit_message_route(other), 2);
}

} // namespace
