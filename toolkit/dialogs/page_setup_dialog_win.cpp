// The toolkit's own page set-up dialog (resource 32010): paper and source
// menus from the printer driver, four margins, the orientation, the
// printer set-up button and a preview of the page, run through the
// toolkit's own field routines and event wait.
#include "dialogs/page_setup.h"

#include "korvanthide/bitmaps.h"
#include "korvanthide/dialogs.h"
#include "korvanthide/drawing.h"
#include "korvanthide/errors.h"
#include "korvanthide/events.h"
#include "korvanthide/graphics_state.h"
#include "korvanthide/window_ops.h"
#include "dialogs/dialog_operations.h"

#include <array>
#include <string_view>
#include <vector>

namespace korv {

namespace {

namespace field {
inline constexpr int ok = 1;
inline constexpr int cancel = 2;
inline constexpr int preview = 1024;
inline constexpr int papers = 1033;
inline constexpr int sources = 1034;
inline constexpr int units_caption = 1038;
inline constexpr int left = 1039;
inline constexpr int right = 1040;
inline constexpr int top = 1042;
inline constexpr int bottom = 1044;
inline constexpr int portrait = 1208;
inline constexpr int landscape = 1209;
inline constexpr int printer = 1301;
} // namespace field

constexpr std::string_view margin_format = "(F10.1)";
// The preview bitmap is one more than programs may hold, for the time the
// dialog runs.
constexpr int bitmap_limit = 50;

struct DialogRun {
    PageDialogValues& values;
    PageMargins shown;  // the margins as last written to the fields
    std::vector<PaperEntry> papers;
    std::vector<PaperEntry> sources;
    int bitmap = 0;
};

// ---- paper lists ----

std::vector<PaperEntry> driver_list(int names_what, int width, int numbers_what, bool drop_blank)
{
    int count = 0;
    cdlg_printer_capability_count(names_what, count);
    if (count <= 0) return {};
    std::vector<char> names(static_cast<std::size_t>(count) * static_cast<std::size_t>(width), '\0');
    std::vector<std::int16_t> numbers(static_cast<std::size_t>(count), 0);
    cdlg_printer_capability_list(names_what, names);
    cdlg_printer_capability_list(numbers_what, numbers);
    return page_paper_list(names, width, numbers, count, drop_blank);
}

void put_menu(int id, const std::vector<PaperEntry>& list, int selected)
{
    std::vector<std::string_view> items;
    for (const PaperEntry& e : list) items.push_back(e.name);
    WDialogPutMenu(id, items, static_cast<int>(items.size()), selected + 1);
}

void cdlg_page_setup_fill_paper_lists(DialogRun& run)
{
    int paper = 0, source = 0;
    cdlg_devmode_get_paper(paper, source);
    run.papers = driver_list(1, 64, 3, true);
    put_menu(field::papers, run.papers, page_list_selection(run.papers, paper));
    run.sources = driver_list(2, 24, 4, false);
    if (run.sources.empty())
        WDialogClearField(field::sources);
    else
        put_menu(field::sources, run.sources, page_list_selection(run.sources, source));
}

// The chosen paper's entry, or nullptr when the menu is empty.
const PaperEntry* chosen(int id, const std::vector<PaperEntry>& list)
{
    if (list.empty()) return nullptr;
    int item = 0;
    WDialogGetMenu(id, item);
    if (item < 1 || item > static_cast<int>(list.size())) return nullptr;
    return &list[static_cast<std::size_t>(item - 1)];
}

void paper_into_device_mode(const DialogRun& run)
{
    const PaperEntry* paper = chosen(field::papers, run.papers);
    if (paper == nullptr) return;
    const PaperEntry* source = chosen(field::sources, run.sources);
    cdlg_devmode_set_paper(paper->number, source ? source->number : -1);
}

// The page sides of the chosen paper, the smaller across for portrait.
// Without papers the page keeps its size.
void page_from_paper(DialogRun& run)
{
    const PaperEntry* paper = chosen(field::papers, run.papers);
    if (paper == nullptr) return;
    int width = 0, height = 0;
    cdlg_printer_paper_dimensions(paper->position, static_cast<int>(run.papers.size()), width, height);
    if (width <= 0 || height <= 0) return;
    PageDialogValues& v = run.values;
    v.page_width = page_paper_side(width, v.units);
    v.page_height = page_paper_side(height, v.units);
    page_paper_turn(v.page_width, v.page_height, v.orientation == 1);
}

// ---- margins ----

void show_margins(DialogRun& run, const PageMargins& m)
{
    const int d = run.values.divisor();
    WDialogPutReal(field::left, page_margin_shown(m.left, d), margin_format);
    WDialogPutReal(field::top, page_margin_shown(m.top, d), margin_format);
    WDialogPutReal(field::right, page_margin_shown(m.right, d), margin_format);
    WDialogPutReal(field::bottom, page_margin_shown(m.bottom, d), margin_format);
    run.shown = m;
}

PageMargins read_margins(const DialogRun& run)
{
    const int d = run.values.divisor();
    auto read = [&](int id, int shown) {
        float value = 0;
        WDialogGetReal(id, value);
        return page_margin_read(value, shown, d);
    };
    return {read(field::left, run.shown.left), read(field::top, run.shown.top),
            read(field::right, run.shown.right), read(field::bottom, run.shown.bottom)};
}

int checked_orientation()
{
    int position = 1;
    WDialogGetRadioButton(field::portrait, position);
    return position == 2 ? 1 : 0;
}

void turn_margins(DialogRun& run, int orientation)
{
    show_margins(run, page_margins_turned(read_margins(run), orientation == 1));
}

// ---- preview ----

void cdlg_page_setup_preview(DialogRun& run)
{
    const PageDialogValues& v = run.values;
    const auto page = page_preview_area(v.page_width, v.page_height, v.orientation == 1);
    if (!page) return;
    const PageMargins m = read_margins(run);

    GraphicsState& g = graphics_state();
    const GraphicsState saved = g;
    IGrStateSaveRestore(0);
    g.hardcopy_active = 0;
    g.screen_active = 1;
    IGrColourModeSelect(24);  // RGB values
    if (run.bitmap != 0) {
        IGrSelect(2, run.bitmap);
    } else {
        WDialogClearField(field::preview);
        IGrSelect(3, field::preview);
    }
    IGrArea(0, 0, 1, 1);
    IGrUnits(0, 0, 1, 1);
    IGrFillStyleSet(4);
    int face = 0;
    win_system_colour(9, face);
    IGrColourN(face);
    IGrRectangle(0, 0, 1, 1);

    IGrArea(static_cast<float>(page->x0), static_cast<float>(page->y0), static_cast<float>(page->x1),
            static_cast<float>(page->y1));
    const auto w = static_cast<float>(page->width);
    const auto h = static_cast<float>(page->height);
    IGrUnits(0, 0, w, h);
    IGrColour("white");
    IGrRectangle(0, 0, w, h);
    IGrColour("black");
    IGrDrawModeSet(0);
    IGrAreaOutline();
    if (page_preview_has_printable(m, page->width, page->height)) {
        IGrFillStyleSet(0);
        IGrLineTypeSet(1);
        IGrRectangle(static_cast<float>(m.left), static_cast<float>(m.bottom), w - static_cast<float>(m.right),
                     h - static_cast<float>(m.top));
    }

    // Back to the drawing target the program had.
    if (saved.target_kind == target_dialog_field) {
        WDialogSelect(saved.target_dialog);
        IGrSelect(3, saved.target_number);
        WDialogSelect(page_setup_dialog_resource);
    } else {
        IGrSelect(saved.target_kind, saved.target_number);
    }
    if (run.bitmap != 0) WDialogPutImage(field::preview, run.bitmap, 3);
    IGrStateSaveRestore(1);
    g = saved;
}

// ---- events ----

void take_ok(DialogRun& run)
{
    paper_into_device_mode(run);
    PageDialogValues& v = run.values;
    v.orientation = checked_orientation();
    page_from_paper(run);
    const PageMargins m = read_margins(run);
    v.left = m.left;
    v.top = m.top;
    v.printable_width = v.page_width - m.left - m.right;
    v.printable_height = v.page_height - m.top - m.bottom;
}

void printer_button(DialogRun& run)
{
    PageDialogValues& v = run.values;
    int orientation = v.orientation;
    int copies = v.copies;
    int answer = 0;
    cdlg_printer_setup(orientation, copies, answer);
    if (answer == 1) {
        cdlg_page_setup_fill_paper_lists(run);
        v.copies = copies;
        if (orientation != v.orientation && (orientation == 0 || orientation == 1)) {
            v.orientation = orientation;
            WDialogPutRadioButton(field::portrait + orientation);
            turn_margins(run, orientation);
        }
        page_from_paper(run);
        cdlg_page_setup_preview(run);
    }
    WDialogSetField(field::ok);
}

void field_changed(DialogRun& run, int previous, int current)
{
    PageDialogValues& v = run.values;
    if (current == field::portrait || current == field::landscape) {
        const int orientation = checked_orientation();
        if (orientation != v.orientation) {
            v.orientation = orientation;
            page_paper_turn(v.page_width, v.page_height, orientation == 1);
            turn_margins(run, orientation);
            cdlg_page_setup_preview(run);
        }
    } else if (previous == field::papers && current == field::papers) {
        page_from_paper(run);
        cdlg_page_setup_preview(run);
        paper_into_device_mode(run);
    } else if (previous == field::sources && current == field::sources) {
        paper_into_device_mode(run);
    } else if (previous == field::left || previous == field::right || previous == field::top ||
               previous == field::bottom) {
        cdlg_page_setup_preview(run);
    }
}

// 1 OK, 0 Cancel.
int run_events(DialogRun& run)
{
    for (;;) {
        int type = 0;
        EventRecord e;
        WEventWait(type, e);
        if (e.slot(1) != page_setup_dialog_resource) continue;
        if (type == event::push_button) {
            const int button = e.slot(2);
            if (button == field::ok) {
                take_ok(run);
                return 1;
            }
            if (button == field::cancel) return 0;
            if (button == field::printer) printer_button(run);
        } else if (type == event::expose && e.slot(4) == event::source_field && e.slot(5) == field::preview) {
            cdlg_page_setup_preview(run);
        } else if (type == event::field_changed) {
            field_changed(run, e.slot(2), e.slot(3));
        }
    }
}

// What a wait inside another wait must give back to the outer one.
struct OuterWait {
    PostedEvent store;
    PendingRedrawRecord field_change;
    PendingRedrawRecord field_expose;
    int in_pump;
    int first_field_change;
    int field_changes_enabled;

    OuterWait()
    {
        const EventState& s = event_state();
        store = s.store;
        field_change = s.pending[pending_field_changed];
        field_expose = s.pending[pending_field_expose];
        in_pump = s.in_pump;
        first_field_change = s.first_field_change;
        field_changes_enabled = win_event_enable_get(event::field_changed);
    }
    ~OuterWait()
    {
        EventState& s = event_state();
        s.store = store;
        s.pending[pending_field_changed] = field_change;
        s.pending[pending_field_expose] = field_expose;
        s.in_pump = in_pump;
        s.first_field_change = first_field_change;
        WEventTypeEnable(event::field_changed, field_changes_enabled);
    }
    OuterWait(const OuterWait&) = delete;
    OuterWait& operator=(const OuterWait&) = delete;
};

// The dialog that was current comes back, or none.
void reselect(int dialog)
{
    if (dialog != 0) WDialogSelect(dialog);
    else dialog_result_state().current_dialog = 0;
}

} // namespace

int cdlg_page_setup_dialog(PageDialogValues& values)
{
    ErrorState& errors = error_state();
    const int saved_error = errors.last_error;
    const int previous_dialog = dialog_result_state().current_dialog;
    errors.last_error = 0;
    WDialogLoad(page_setup_dialog_resource);
    if (errors.last_error != 0) {
        errors.last_error = saved_error;
        reselect(previous_dialog);
        return -1;
    }

    const OuterWait outer;
    DialogRun run{values, {}, {}, {}, 0};
    int x = 0, y = 0, width = 0, height = 0;
    field_rectangle(field::preview, x, y, width, height, 1);
    bmp_handle_limit_set(bitmap_limit + 1);
    if (width > 0 && height > 0) WBitmapCreate(run.bitmap, width, height);
    errors.last_error = 0;

    cdlg_page_setup_fill_paper_lists(run);
    const bool metric = values.units >= 2;
    WDialogPutString(field::units_caption, metric ? "Margins (millimetres)" : "Margins (inches)");
    show_margins(run, {values.left, values.top, values.right(), values.bottom()});
    WDialogPutRadioButton(field::portrait + (values.orientation == 1 ? 1 : 0));
    WDialogShowAtWindow(field::ok, 3, -1);
    cdlg_page_setup_preview(run);
    WEventTypeEnable(event::field_changed, 1);

    const int answer = run_events(run);

    WDialogHide();
    WDialogUnload();
    if (run.bitmap != 0) WBitmapDestroy(run.bitmap);
    bmp_handle_limit_set(bitmap_limit);
    errors.last_error = saved_error;
    reselect(previous_dialog);
    return answer;
}

} // namespace korv
