#include "hardcopy/output/output_units.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <optional>

#include "korvanthide/error_numbers.h"
#include "korvanthide/errors.h"
#include "korvanthide/fixed_text.h"
#include "korvanthide/graphics_state.h"
#include "korvanthide/printer.h"
#include "core/context.h"
#include "core/output/file_commit.h"

namespace korv {

namespace {

struct OutputUnit {
    std::optional<std::string> target; // set while the unit is open
    std::string bytes;                 // the file, put in place at the close
};

// Units 0..7. An open unit's handle is its own number: its file is held
// here until the close puts it in place.
using OutputUnitTable = std::array<OutputUnit, output_unit_count>;

OutputUnitTable& output_unit_table()
{
    return toolkit_context().record<OutputUnitTable>(ContextSlot::output_units);
}

OutputUnit* open_unit(int unit)
{
    if (unit < 0 || unit >= output_unit_count)
        return nullptr;
    OutputUnit& u = output_unit_table()[static_cast<std::size_t>(unit)];
    return u.target ? &u : nullptr;
}

void output_failed(int error, int code, bool internal)
{
    ErrorState& e = error_state();
    e.detail_category = 2;
    e.file_code = code;
    if (internal)
        err_report(error, "YYPROU");
    else
        err_report_current(error);
    printer_plotter_settings().status_word = -1;
}

// Whether a new file can be made beside the target: the plot is only put
// in place at the close, but a driver must learn at the open that it has
// nowhere to write. Device names (a printer port) are taken as they are.
int creatable(const std::string& target)
{
    const FileCommitOps& ops = platform_file_commit_ops();
    std::string probe;
    errno = 0;
    if (ops.make_temporary(directory_of(target), probe)) {
        ops.remove(probe);
        return 0;
    }
    const bool device = target.back() == ':' || target.starts_with("/dev/");
    return device ? 0 : (errno != 0 ? errno : EACCES);
}

} // namespace

void hc_unit_open(int unit)
{
    const std::string name(text_trimmed(device_parameters().image_file_view()));
    if (name.empty() || unit < 0 || unit >= output_unit_count) {
        output_failed(err::file_open, 0, false);
        return;
    }
    printer_plotter_settings().status_word = 0;
    OutputUnit& u = output_unit_table()[static_cast<std::size_t>(unit)];
    u.bytes.clear();
    u.target.reset();
    if (const int code = creatable(name); code != 0) {
        output_failed(err::file_open, code, false);
        return;
    }
    u.target = name;
}

void hc_unit_close(int unit)
{
    OutputUnit* u = open_unit(unit);
    if (u == nullptr)
        return;
    const CommitResult result = commit_file(*u->target, u->bytes);
    u->target.reset();
    std::string().swap(u->bytes);
    if (!result.ok())
        output_failed(result.status == CommitStatus::cannot_open ? err::file_open : err::file_read_write, static_cast<int>(result.system_code), true);
}

int hc_unit_handle(int unit) { return open_unit(unit) != nullptr ? unit : -1; }

void hc_unit_write_line(int unit, std::string_view text)
{
    if (OutputUnit* u = open_unit(unit)) {
        u->bytes.append(text);
        u->bytes.append("\r\n");
    }
    else
        output_failed(err::file_read_write, EBADF, true);
}

void hc_unit_write(int unit, std::string_view bytes)
{
    if (OutputUnit* u = open_unit(unit))
        u->bytes.append(bytes);
    else
        output_failed(err::file_read_write, EBADF, true);
}

bool hc_unit_patch(int unit, std::size_t offset, std::string_view bytes)
{
    OutputUnit* u = open_unit(unit);
    if (u == nullptr || offset > u->bytes.size() || bytes.size() > u->bytes.size() - offset)
        return false;
    u->bytes.replace(offset, bytes.size(), bytes);
    return true;
}

std::size_t hc_unit_size(int unit)
{
    const OutputUnit* u = open_unit(unit);
    return u != nullptr ? u->bytes.size() : 0;
}

void hc_write_record(int handle, std::string_view bytes, bool line_end)
{
    OutputUnit* u = open_unit(handle);
    if (u == nullptr) {
        output_failed(err::file_read_write, EBADF, false);
        return;
    }
    u->bytes.append(bytes);
    if (line_end)
        u->bytes.append("\r\n");
}

std::string hc_colour_hex(int red, int green, int blue)
{
    static constexpr char digits[] = "0123456789abcdef";
    std::string hex;
    for (int c : {red, green, blue}) {
        c = std::clamp(c, 0, 255);
        hex += digits[c / 16];
        hex += digits[c % 16];
    }
    return hex;
}

} // namespace korv
