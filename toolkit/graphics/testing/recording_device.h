// A device for tests: records every operation it receives with a copy of
// the parameter block and of the graphics state at that moment, so drawing
// can be checked without Windows. It can forward each operation to another
// device (to watch a real driver) and answer the queries a device answers.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "korvanthide/graphics_state.h"
#include "graphics/screen_device.h"

namespace korv::testing {

struct RecordedOperation {
    int op = 0;
    DeviceParameters params;
    GraphicsState state;

    std::string text() const;       // params.text without trailing blanks
    std::string image_file() const; // params.image_file without trailing blanks
};

class RecordingDevice : public Device {
public:
    // Which capability slot a full operation 1 fills.
    enum class Side { screen, hardcopy };

    explicit RecordingDevice(Side side = Side::screen, Device* forward = nullptr)
        : side_(side), forward_(forward) {}

    std::vector<RecordedOperation> log;

    // Answers, used when no forward device is given.
    // Operation 1 with count -999 gets this number (a hardcopy probe); 0: no answer.
    int driver_number = 0;
    // Stored into this side's capability slot on a full operation 1.
    DeviceDescription description;
    // Operation 25 answers chars * text_width_per_char in rx1, count 1.
    float text_width_per_char = 0;
    // Operation 31 answers this RGB value in px1.
    std::int32_t pixel = 0;

    // The operation codes received, in order.
    std::vector<int> codes() const;
    // How many times op was received.
    int count_of(int op) const;
    void reset() { log.clear(); }

    void select(DeviceParameters& p) override;
    void line(DeviceParameters& p) override { record(2, p); }
    void colour(DeviceParameters& p) override { record(3, p); }
    void ellipse_outline(DeviceParameters& p) override { record(4, p); }
    void ellipse_fill(DeviceParameters& p) override { record(5, p); }
    void ellipse_solid(DeviceParameters& p) override { record(6, p); }
    void quadrilateral_fill(DeviceParameters& p) override { record(7, p); }
    void quadrilateral_solid(DeviceParameters& p) override { record(8, p); }
    void rectangle_fill(DeviceParameters& p) override { record(9, p); }
    void rectangle_solid(DeviceParameters& p) override { record(10, p); }
    void triangle_fill(DeviceParameters& p) override { record(11, p); }
    void triangle_solid(DeviceParameters& p) override { record(12, p); }
    void pie_fill(DeviceParameters& p) override { record(13, p); }
    void pie_solid(DeviceParameters& p) override { record(14, p); }
    void polygon_fill(DeviceParameters& p) override { record(15, p); }
    void polygon_solid(DeviceParameters& p) override { record(16, p); }
    void clear(DeviceParameters& p) override { record(17, p); }
    void open(DeviceParameters& p) override { record(18, p); }
    void close(DeviceParameters& p) override { record(19, p); }
    void end_page(DeviceParameters& p) override { record(20, p); }
    void character_size(DeviceParameters& p) override { record(21, p); }
    void text(DeviceParameters& p) override { record(22, p); }
    void block_move(DeviceParameters& p) override { record(23, p); }
    void clip(DeviceParameters& p) override { record(24, p); }
    void text_width(DeviceParameters& p) override;
    void point(DeviceParameters& p) override { record(26, p); }
    void drawing_mode(DeviceParameters& p) override { record(27, p); }
    void palette_entry(DeviceParameters& p) override { record(28, p); }
    void line_type(DeviceParameters& p) override { record(29, p); }
    void line_width(DeviceParameters& p) override { record(30, p); }
    void read_pixel(DeviceParameters& p) override;
    void polyline(DeviceParameters& p) override { record(32, p); }
    void character_angle(DeviceParameters& p) override { record(33, p); }
    void arc(DeviceParameters& p) override { record(34, p); }
    void palette(DeviceParameters& p) override { record(35, p); }
    void line_join(DeviceParameters& p) override { record(36, p); }
    void line_cap(DeviceParameters& p) override { record(37, p); }
    void image_file(DeviceParameters& p) override { record(38, p); }
    void metafile_header(DeviceParameters& p) override { record(39, p); }
    void shaded_polygon(DeviceParameters& p) override { record(40, p); }
    void unknown_operation(int op, DeviceParameters& p) override { record(op, p); }

private:
    // Records op; true when it was forwarded (the forward device answered).
    bool record(int op, DeviceParameters& p);

    Side side_;
    Device* forward_;
};

// Installs a device as the screen side's GDI device for one scope.
class ScopedScreenDevice {
public:
    explicit ScopedScreenDevice(Device* device) : previous_(gr_screen_device_install(device)) {}
    ~ScopedScreenDevice() { gr_screen_device_install(previous_); }
    ScopedScreenDevice(const ScopedScreenDevice&) = delete;
    ScopedScreenDevice& operator=(const ScopedScreenDevice&) = delete;

private:
    Device* previous_;
};

// Installs platform services for one scope.
class ScopedPlatform {
public:
    explicit ScopedPlatform(GraphicsPlatform* services) : previous_(gr_platform_services_install(services)) {}
    ~ScopedPlatform() { gr_platform_services_install(previous_); }
    ScopedPlatform(const ScopedPlatform&) = delete;
    ScopedPlatform& operator=(const ScopedPlatform&) = delete;

private:
    GraphicsPlatform* previous_;
};

// Platform services for tests without Windows: windows that are "open" with
// a client size, bitmap slots with sizes, one current dialog with graphics
// fields, metafile slots, a printer. Selections are logged in calls.
class TestPlatform : public GraphicsPlatform {
public:
    struct Size {
        int width = 0, height = 0;
    };
    std::vector<std::pair<int, Size>> windows;   // open windows
    std::vector<std::pair<int, Size>> bitmaps;   // bitmap slots from 0
    int dialog = 0;                              // current dialog, 0 none
    std::vector<std::pair<int, Size>> fields;    // graphics fields of that dialog
    struct Metafile {
        int slot = 0, kind = 0;
        Size size;
        int select_status = 0;
    };
    std::vector<Metafile> metafiles;
    int display_colours = 256;
    int limit = 50;
    int printer_error = 1;          // 0: printer below is the default printer
    PrinterPage printer;
    int platform = 2;
    int gradient = 1;
    std::vector<std::string> calls;

    void release() override { calls.push_back("release"); }
    int window_select(int window, int& width, int& height) override;
    void text_size_to_pixels() override { calls.push_back("text_size"); }
    int display_colour_count() override { return display_colours; }
    int bitmap_limit() override { return limit; }
    int bitmap_select(int slot, int& width, int& height) override;
    int current_dialog() override { return dialog; }
    void field_select(int& field, int& width, int& height) override;
    int metafile_kind(int slot, int& width, int& height) override;
    int metafile_select(int slot, int width, int height) override;
    int printer_defaults(PrinterPage& page) override;
    int platform_level() override { return platform; }
    int gradient_level() override { return gradient; }
    void print_command_run(std::string_view command) override { calls.push_back("print " + std::string(command)); }
    void file_delete(std::string_view name) override { calls.push_back("delete " + std::string(name)); }
};

} // namespace korv::testing
