#include "hardcopy/drivers/tests/driver_fixture.h"

#include <array>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "korvanthide/drawing.h"

namespace korv::testing {

namespace {

int directory_serial = 0;

} // namespace

void DriverTest::SetUp()
{
    saved_state_ = graphics_state();
    saved_hardcopy_ = hardcopy_state();
    saved_errors_ = error_state();
    saved_printer_ = printer_plotter_settings();
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    dir_ = std::filesystem::temp_directory_path() /
           ("korv_" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count() % 1000000007) + "_" + std::string(info->test_suite_name()) + "_" + info->name() + "_" + std::to_string(++directory_serial));
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);

    hardcopy_state() = HardcopyState{};
    error_state() = ErrorState{};
    GraphicsState& g = graphics_state();
    g = GraphicsState{};
    g.screen_active = 0;
    g.drawable_width = 640;
    g.drawable_height = 480;
    gr_colour_table_defaults();
    previous_ = hc_driver_install(number_, &driver_);
}

void DriverTest::TearDown()
{
    if (graphics_state().hardcopy_active >= 1)
        IGrHardCopy("S");
    hc_driver_install(number_, previous_);
    graphics_state() = saved_state_;
    hardcopy_state() = saved_hardcopy_;
    error_state() = saved_errors_;
    printer_plotter_settings() = saved_printer_;
    if (!HasFailure())
        std::filesystem::remove_all(dir_);
}

void DriverTest::select()
{
    device_parameters().count = 0;
    device_parameters().phase = 0;
    hc_dispatch_select(1, number_);
}

void DriverTest::open(const std::string& name, std::optional<std::string_view> title)
{
    IGrHardCopy(name.empty() ? std::string() : path(name).string(), title);
}

void DriverTest::finish() { IGrHardCopy("S"); }

void DriverTest::unit_scale()
{
    GraphicsState& g = graphics_state();
    g.device_limit_x = static_cast<float>(hardcopy_state().options.get(option_page_width));
    g.device_limit_y = static_cast<float>(hardcopy_state().options.get(option_page_height));
    device_parameters().phase = 0;
    gr_send_hardcopy(DeviceOperation::Open);
}

std::string DriverTest::read(const std::string& name) const
{
    std::ifstream in(path(name), std::ios::binary);
    std::ostringstream all;
    all << in.rdbuf();
    return all.str();
}

std::vector<std::string> DriverTest::lines(const std::string& name) const
{
    std::vector<std::string> out;
    std::istringstream in(read(name));
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        out.push_back(line);
    }
    return out;
}

namespace {

DeviceParameters& fresh()
{
    DeviceParameters& p = device_parameters();
    p.phase = 0;
    return p;
}

} // namespace

void DriverTest::line(float x1, float y1, float x2, float y2)
{
    DeviceParameters& p = fresh();
    p.rx1 = x1, p.ry1 = y1, p.rx2 = x2, p.ry2 = y2;
    gr_send_hardcopy(DeviceOperation::Line);
}

void DriverTest::polyline(const std::vector<float>& xy, int op)
{
    DeviceParameters& p = fresh();
    p.poly_x.clear();
    p.poly_y.clear();
    for (std::size_t i = 0; i + 1 < xy.size(); i += 2) {
        p.poly_x.push_back(xy[i]);
        p.poly_y.push_back(xy[i + 1]);
    }
    p.count = static_cast<int>(p.poly_x.size());
    gr_send_hardcopy(op);
    if (op != 32) {
        p.phase = -1;
        gr_send_hardcopy(op);
    }
}

void DriverTest::rectangle(float x1, float y1, float x2, float y2, int style)
{
    graphics_state().fill_style = style;
    DeviceParameters& p = fresh();
    p.rx1 = x1, p.ry1 = y1, p.rx2 = x2, p.ry2 = y2;
    gr_send_hardcopy(DeviceOperation::RectangleFill);
    p.phase = -1;
    gr_send_hardcopy(DeviceOperation::RectangleFill);
}

void DriverTest::ellipse(float x, float y, float rx, float ry, int style)
{
    graphics_state().fill_style = style;
    DeviceParameters& p = fresh();
    p.rx1 = x, p.ry1 = y, p.rx2 = rx, p.ry2 = ry, p.rx3 = ry / rx;
    gr_send_hardcopy(DeviceOperation::EllipseFill);
    p.phase = -1;
    gr_send_hardcopy(DeviceOperation::EllipseFill);
}

void DriverTest::pie(float x, float y, float r, float start_degrees, float end_degrees, int style)
{
    graphics_state().fill_style = style;
    constexpr float degree = 0.017453292f;
    DeviceParameters& p = fresh();
    p.rx1 = x, p.ry1 = y, p.rx2 = r, p.ry2 = r;
    p.rx3 = start_degrees * degree;
    p.ry3 = end_degrees * degree;
    p.rx4 = start_degrees;
    p.ry4 = end_degrees - start_degrees;
    gr_send_hardcopy(DeviceOperation::PieFill);
    p.phase = -1;
    gr_send_hardcopy(DeviceOperation::PieFill);
}

void DriverTest::text(std::string_view s, float x, float y)
{
    DeviceParameters& p = fresh();
    p.text_set(s);
    p.px1 = static_cast<int>(s.size());
    p.px2 = 3; // a text group of its own, for the SVG driver
    p.rx1 = x, p.ry1 = y;
    p.rx2 = static_cast<float>(s.size()) * 10.0f;
    p.rx3 = x + p.rx2, p.ry3 = y;
    p.rx4 = p.rx3, p.ry4 = p.ry3;
    gr_send_hardcopy(DeviceOperation::Text);
}

void DriverTest::colour_rgb(int r, int g, int b)
{
    GraphicsState& s = graphics_state();
    s.colour_mode = 2;
    s.prev_rgb = s.cur_rgb;
    s.cur_rgb = r + 256 * g + 65536 * b;
    s.prev_index = s.cur_index;
    s.cur_index = gr_colour_nearest_index(s.cur_rgb);
    gr_send_hardcopy(DeviceOperation::Colour);
}

void DriverTest::colour_index(int index)
{
    GraphicsState& s = graphics_state();
    s.colour_mode = 1;
    s.prev_index = s.cur_index;
    s.cur_index = index;
    gr_send_hardcopy(DeviceOperation::Colour);
}

DeviceParameters& DriverTest::image(const std::string& file, int w, int h)
{
    DeviceParameters& p = fresh();
    p.image_file_set(file);
    p.px2 = w;
    p.py2 = h;
    gr_send_hardcopy(DeviceOperation::ImageFile);
    return p;
}

void DriverTest::line_type(int type)
{
    graphics_state().line_type = type;
    gr_send_hardcopy(DeviceOperation::LineType);
}

int DriverTest::run(const std::string& command, std::string* out)
{
#ifdef _WIN32
    (void)command;
    (void)out;
    return -1;
#else
    std::FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (pipe == nullptr)
        return -1;
    std::string text;
    std::array<char, 4096> buffer{};
    for (std::size_t n; (n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0;)
        text.append(buffer.data(), n);
    const int status = pclose(pipe);
    if (out != nullptr)
        *out = text;
    return status;
#endif
}

bool DriverTest::readers_available()
{
#ifdef _WIN32
    return false;
#else
    return true;
#endif
}

void write_bmp(const std::string& file, int w, int h)
{
    const int row = (3 * w + 3) / 4 * 4;
    std::string b = "BM";
    const auto u32 = [&b](unsigned v) {
        for (int i = 0; i < 4; ++i)
            b += static_cast<char>((v >> (8 * i)) & 0xFF);
    };
    const auto u16 = [&b](unsigned v) {
        b += static_cast<char>(v & 0xFF);
        b += static_cast<char>((v >> 8) & 0xFF);
    };
    u32(static_cast<unsigned>(54 + row * h));
    u32(0);
    u32(54);
    u32(40);
    u32(static_cast<unsigned>(w));
    u32(static_cast<unsigned>(h));
    u16(1);
    u16(24);
    for (int i = 0; i < 6; ++i)
        u32(0);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x)
            b += x < w / 2 ? std::string("\0\0\xff", 3) : std::string("\xff\0\0", 3);
        b.append(static_cast<std::size_t>(row - 3 * w), '\0');
    }
    std::ofstream(file, std::ios::binary) << b;
}

bool Pixmap::read(const std::string& file)
{
    std::ifstream in(file, std::ios::binary);
    // Header fields, each after blanks and comment lines.
    const auto field = [&in]() {
        std::string token;
        while (in >> token && token.starts_with('#'))
            in.ignore(1 << 20, '\n');
        return token;
    };
    const std::string magic = field();
    width = std::atoi(field().c_str());
    height = std::atoi(field().c_str());
    const int maximum = std::atoi(field().c_str());
    in.get();
    if (!in || magic != "P6" || maximum != 255 || width <= 0 || height <= 0 || width > 20000 || height > 20000)
        return false;
    rgb.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3);
    in.read(reinterpret_cast<char*>(rgb.data()), static_cast<std::streamsize>(rgb.size()));
    return static_cast<bool>(in);
}

std::array<int, 3> Pixmap::at(int x, int y) const
{
    if (x < 0 || y < 0 || x >= width || y >= height)
        return {-1, -1, -1};
    const std::size_t i = (static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)) * 3;
    return {rgb[i], rgb[i + 1], rgb[i + 2]};
}

int Pixmap::inked(int x1, int y1, int x2, int y2) const
{
    int n = 0;
    for (int y = std::max(0, y1); y < std::min(height, y2); ++y)
        for (int x = std::max(0, x1); x < std::min(width, x2); ++x) {
            const auto c = at(x, y);
            if (255 - c[0] > 60 || 255 - c[1] > 60 || 255 - c[2] > 60)
                ++n;
        }
    return n;
}

} // namespace korv::testing
