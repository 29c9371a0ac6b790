// The kinds of record the window layer makes itself, and the table through
// which it asks every kind.
#include "core/context.h"
#include "core/services/content_kinds.h"

#include <array>

#include "korvanthide/dialogs_win.h"
#include "korvanthide/window_ops.h"
#include "core/window_layer.h"
#include "core/window_ops_win.h"
#include "graphics/bitmap_viewer.h"

namespace korv {

namespace {

constexpr std::size_t kind_count = 6;

void dialog_release(HWND frame, WindowContentRecord& record)
{
    dialog_embedded_close(record.subject);
    win_content_record_set(frame, nullptr);
    delete static_cast<DialogWindowRecord*>(&record);
}

// The frame can be sized again (unless flag 64), with a maximise box on
// flag 4.
void dialog_detach(HWND frame, int flags, int& dialog)
{
    WindowContentRecord* record = win_content_record(frame);
    HWND embedded = record->subject;
    if (embedded && embedded == dialog_current_window())
        dialog = 0;
    dialog_embedded_close(embedded);
    LONG style = GetWindowLongA(frame, GWL_STYLE);
    if (!(flags & 64))
        style |= WS_THICKFRAME;
    if (flags & 4)
        style |= WS_MAXIMIZEBOX;
    SetWindowLongA(frame, GWL_STYLE, style);
    SetWindowPos(frame, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
    win_content_record_set(frame, nullptr);
    delete static_cast<DialogWindowRecord*>(record);
}

// The bar goes while the record still stands: its procedure reads the
// record until it is destroyed.
void split_release(HWND frame, WindowContentRecord& record)
{
    win_content_record_set(frame, nullptr);
    if (record.subject != nullptr) DestroyWindow(record.subject);
    delete static_cast<SplitWindowRecord*>(&record);
}

// The split window goes with its panes, which would otherwise be left
// without the record that lays them out; the root window keeps itself and
// lets the record go.
void split_detach(HWND frame, int, int&)
{
    const int window = win_number_from_handle(frame);
    if (window > 0)
        win_child_close(window);
    else
        win_content_release(frame);
}

// The frame is drawn again for its new menu bar, and the viewer takes the
// new client size.
void viewer_menu_changed(HWND frame, WindowContentRecord& record)
{
    if (record.subject == nullptr) return;
    RECT outer{};
    GetWindowRect(frame, &outer);
    SetWindowPos(frame, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    RECT inner{};
    GetClientRect(record.subject, &inner);
    SendMessageA(record.subject, WM_SIZE, SIZE_RESTORED, MAKELPARAM(inner.right, inner.bottom));
}

std::array<ContentKindServices, kind_count> base_kinds()
{
    std::array<ContentKindServices, kind_count> kinds{};
    ContentKindServices& viewer = kinds[static_cast<std::size_t>(ContentKind::bitmap_viewer)];
    viewer.subject_takes_focus = true;
    viewer.subject_names_window = true;
    viewer.detach = [](HWND frame, int, int&) { bmp_viewer_detach(frame); };
    viewer.menu_changed = viewer_menu_changed;
    ContentKindServices& dialog = kinds[static_cast<std::size_t>(ContentKind::dialog)];
    dialog.keeps_cursor = true;
    dialog.covers_client = true;
    dialog.subject_takes_focus = true;
    dialog.holds_dialog = true;
    dialog.release = dialog_release;
    dialog.detach = dialog_detach;
    ContentKindServices& split = kinds[static_cast<std::size_t>(ContentKind::split)];
    split.keeps_cursor = true;
    split.covers_client = true;
    split.holds_panes = true;
    split.client_picture_kept = true;
    split.may_close = win_panes_query_close;
    split.release = split_release;
    split.detach = split_detach;
    return kinds;
}

std::array<ContentKindServices, kind_count>& kinds()
{
    using Table = std::array<ContentKindServices, kind_count>;
    return toolkit_context().record<Table>(ContextSlot::content_kinds, base_kinds);
}

} // namespace

ContentKindServices& content_kind_services(ContentKind kind)
{
    const auto index = static_cast<std::size_t>(kind);
    return kinds()[index < kind_count ? index : 0];
}

const ContentKindServices& content_services_of(HWND frame)
{
    return content_kind_services(win_content_kind_of(frame));
}

void win_content_release(HWND frame)
{
    WindowContentRecord* record = win_content_record(frame);
    if (record == nullptr) return;
    const ContentKindServices& services = content_kind_services(record->kind);
    if (services.release) services.release(frame, *record);
}

void win_dialog_record_attach(HWND frame, HWND dialog)
{
    auto* record = new DialogWindowRecord;
    record->kind = ContentKind::dialog;
    record->subject = dialog;
    RECT outer{};
    GetWindowRect(frame, &outer);
    record->width = outer.right - outer.left;
    record->height = outer.bottom - outer.top;
    win_content_record_set(frame, record);
}

} // namespace korv
