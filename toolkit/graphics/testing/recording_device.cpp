#include "graphics/testing/recording_device.h"

#include <algorithm>

#include "korvanthide/fixed_text.h"

namespace korv::testing {

std::string RecordedOperation::text() const { return std::string(text_trimmed(params.text_view())); }
std::string RecordedOperation::image_file() const { return std::string(text_trimmed(params.image_file_view())); }

std::vector<int> RecordingDevice::codes() const
{
    std::vector<int> out;
    out.reserve(log.size());
    for (const auto& entry : log)
        out.push_back(entry.op);
    return out;
}

int RecordingDevice::count_of(int op) const
{
    return static_cast<int>(std::count_if(log.begin(), log.end(), [op](const auto& e) { return e.op == op; }));
}

bool RecordingDevice::record(int op, DeviceParameters& p)
{
    log.push_back({op, p, graphics_state()});
    if (forward_ == nullptr)
        return false;
    forward_->operate(op, p);
    return true;
}

void RecordingDevice::select(DeviceParameters& p)
{
    if (record(1, p))
        return;
    if (p.count == -999) {
        if (driver_number != 0)
            p.count = driver_number;
        return;
    }
    DeviceCapabilities& caps = device_capabilities();
    (side_ == Side::screen ? caps.screen : caps.hardcopy) = description;
}

void RecordingDevice::text_width(DeviceParameters& p)
{
    if (record(25, p))
        return;
    p.rx1 = static_cast<float>(std::max(p.phase, 0)) * text_width_per_char;
    p.count = 1;
}

void RecordingDevice::read_pixel(DeviceParameters& p)
{
    if (record(31, p))
        return;
    p.px1 = pixel;
}

namespace {

const TestPlatform::Size* find_size(const std::vector<std::pair<int, TestPlatform::Size>>& table, int key)
{
    for (const auto& [k, size] : table)
        if (k == key)
            return &size;
    return nullptr;
}

} // namespace

int TestPlatform::window_select(int window, int& width, int& height)
{
    calls.push_back("window_select " + std::to_string(window));
    const Size* size = find_size(windows, window);
    if (size == nullptr)
        return -1;
    width = size->width;
    height = size->height;
    return 0;
}

int TestPlatform::bitmap_select(int slot, int& width, int& height)
{
    calls.push_back("bitmap_select " + std::to_string(slot));
    const Size* size = find_size(bitmaps, slot);
    if (size == nullptr)
        return 1;
    width = size->width;
    height = size->height;
    return 0;
}

void TestPlatform::field_select(int& field, int& width, int& height)
{
    calls.push_back("field_select " + std::to_string(field));
    const Size* size = find_size(fields, field);
    if (size == nullptr) {
        field = -1;
        return;
    }
    width = size->width;
    height = size->height;
}

int TestPlatform::metafile_kind(int slot, int& width, int& height)
{
    for (const Metafile& m : metafiles)
        if (m.slot == slot) {
            width = m.size.width;
            height = m.size.height;
            return m.kind;
        }
    return 0;
}

int TestPlatform::metafile_select(int slot, int width, int height)
{
    calls.push_back("metafile_select " + std::to_string(slot));
    for (const Metafile& m : metafiles)
        if (m.slot == slot)
            return m.select_status;
    return 1;
}

int TestPlatform::printer_defaults(PrinterPage& page)
{
    if (printer_error == 0)
        page = printer;
    return printer_error;
}

} // namespace korv::testing
