// Trackbars and progress bars: fields that show a position in a range.

#include <windows.h>
#include <commctrl.h>

#include "dialogs/dialog_internal.h"
#include "dialogs/win_fields.h"

namespace korv {

int field_put_trackbar(int id, int position, const int* start, const int* end)
{
    HWND w = current_field_of_class(id, atoms().trackbar);
    if (w == nullptr)
        return -1;
    SendMessageA(w, TBM_SETPOS, TRUE, position);
    if (start != nullptr && end != nullptr && (GetWindowLongA(w, GWL_STYLE) & TBS_ENABLESELRANGE)) {
        if (*start < *end) {
            SendMessageA(w, TBM_SETSELSTART, FALSE, *start);
            SendMessageA(w, TBM_SETSELEND, TRUE, *end);
        } else {
            SendMessageA(w, TBM_CLEARSEL, TRUE, 0);
        }
    }
    return 0;
}

int field_get_trackbar(int id, int& position, int& start, int& end)
{
    HWND w = current_field_of_class(id, atoms().trackbar);
    if (w == nullptr)
        return -1;
    position = static_cast<int>(SendMessageA(w, TBM_GETPOS, 0, 0));
    const int s = static_cast<int>(SendMessageA(w, TBM_GETSELSTART, 0, 0));
    const int e = static_cast<int>(SendMessageA(w, TBM_GETSELEND, 0, 0));
    if ((GetWindowLongA(w, GWL_STYLE) & TBS_ENABLESELRANGE) && s < e) {
        start = s;
        end = e;
    } else {
        start = end = dialog_proc_state().trackbar_no_selection;
    }
    return 0;
}

int field_set_trackbar_range(int id, int minimum, int maximum, int tick_frequency)
{
    HWND w = current_field_of_class(id, atoms().trackbar);
    if (w == nullptr)
        return -1;
    SendMessageA(w, TBM_SETRANGEMIN, FALSE, minimum);
    SendMessageA(w, TBM_SETRANGEMAX, TRUE, maximum);
    if (tick_frequency > 0)
        SendMessageA(w, TBM_SETTICFREQ, static_cast<WPARAM>(tick_frequency), 0);
    return 0;
}

int field_set_trackbar_steps(int id, int line, int page)
{
    HWND w = current_field_of_class(id, atoms().trackbar);
    if (w == nullptr)
        return -1;
    SendMessageA(w, TBM_SETLINESIZE, 0, line);
    SendMessageA(w, TBM_SETPAGESIZE, 0, page <= 0 ? line : page);
    return 0;
}

int field_get_trackbar_range(int id, int& minimum, int& maximum)
{
    HWND w = current_field_of_class(id, atoms().trackbar);
    if (w == nullptr)
        return -1;
    minimum = static_cast<int>(SendMessageA(w, TBM_GETRANGEMIN, 0, 0));
    maximum = static_cast<int>(SendMessageA(w, TBM_GETRANGEMAX, 0, 0));
    return 0;
}

void field_set_no_selection_value(int value) { dialog_proc_state().trackbar_no_selection = value; }

int field_put_progress(int id, int value, int step)
{
    HWND w = current_field_of_class(id, atoms().progress);
    if (w == nullptr)
        return -1;
    if (step == 0)
        SendMessageA(w, PBM_SETPOS, static_cast<WPARAM>(value), 0);
    else
        SendMessageA(w, PBM_DELTAPOS, static_cast<WPARAM>(value), 0);
    return 0;
}

int field_set_progress_range(int id, int minimum, int maximum)
{
    HWND w = current_field_of_class(id, atoms().progress);
    if (w == nullptr)
        return -1;
    SendMessageA(w, PBM_SETRANGE, 0, MAKELPARAM(static_cast<WORD>(minimum), static_cast<WORD>(maximum)));
    return 0;
}

} // namespace korv
