// The graphics state, the device-operation interface and the two senders.
//
// Every drawing routine works out what to draw, writes device co-ordinates
// into the shared DeviceParameters block and sends a numbered operation to
// the screen side, the hardcopy side or both. A device is a Device subclass:
// one named method per operation, reached through Device::operate. Devices
// read the graphics state through korv::graphics_state() and answer in the
// parameter block.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace korv {

enum class DeviceOperation : int {
    Select = 1,
    Line = 2,
    Colour = 3,
    EllipseOutline = 4,
    EllipseFill = 5, // odd codes fill in the current fill style,
    EllipseSolid = 6, // even codes solid (screen devices only)
    QuadrilateralFill = 7,
    QuadrilateralSolid = 8,
    RectangleFill = 9,
    RectangleSolid = 10,
    TriangleFill = 11,
    TriangleSolid = 12,
    PieFill = 13,
    PieSolid = 14,
    PolygonFill = 15,
    PolygonSolid = 16,
    Clear = 17,
    Open = 18,
    Close = 19,
    EndPage = 20,
    CharacterSize = 21,
    Text = 22,
    BlockMove = 23,
    Clip = 24,
    TextWidth = 25,
    Point = 26,
    DrawingMode = 27,
    PaletteEntry = 28,
    LineType = 29,
    LineWidth = 30,
    ReadPixel = 31,
    Polyline = 32,
    CharacterAngle = 33,
    Arc = 34,
    Palette = 35,
    LineJoin = 36,
    LineCap = 37,
    ImageFile = 38,
    MetafileHeader = 39,
    ShadedPolygon = 40,
};

constexpr int operator+(DeviceOperation op) { return static_cast<int>(op); }

// Drawing-target kinds of GraphicsState::target_kind.
enum TargetKind : int {
    target_window = 1,
    target_bitmap = 2,
    target_dialog_field = 3,
    target_metafile = 4,
};

// The block that the sender of an operation fills and in which a few
// operations answer. Device co-ordinates: origin bottom left, y up.
struct DeviceParameters {
    static constexpr std::size_t text_length = 1024;
    static constexpr std::size_t file_name_length = 260;

    // Up to four points, truncated to whole device units ...
    int px1 = 0, px2 = 0, px3 = 0, px4 = 0;
    int py1 = 0, py2 = 0, py3 = 0, py4 = 0;
    // ... and as reals (also radii, angles, a returned text width).
    float rx1 = 0, rx2 = 0, rx3 = 0, rx4 = 0;
    float ry1 = 0, ry2 = 0, ry3 = 0, ry4 = 0;
    // Operation-specific words: open/rescale on 18, rectangle start/end on
    // 9, page flag on 20, palette index on 28, character count on 25,
    // preserve flag on 1 (-998).
    int phase = 0;
    // Vertex count of polygons and polylines; -999 on operation 1 asks a
    // hardcopy driver for its number only; result flag of 25.
    int count = 0;
    std::array<char, text_length> text = blanks<text_length>();
    // Image file of operation 38; the hardcopy drivers' output file on 18.
    std::array<char, file_name_length> image_file = blanks<file_name_length>();
    // Vertices of operations 15, 16, 32 and 40; count says how many are used.
    std::vector<float> poly_x, poly_y;
    // Whole-pixel vertex copies a device makes before it shades (40).
    std::vector<int> shade_x, shade_y;
    // RGB value of each vertex of operation 40.
    std::vector<std::int32_t> shade_value;
    int shade_count = 0;

    // Bounded copies into the fixed fields: cut at the field's length and
    // padded with blanks. Return false when src was cut.
    bool text_set(std::string_view src);
    bool image_file_set(std::string_view src);
    std::string_view text_view() const { return {text.data(), text.size()}; }
    std::string_view image_file_view() const { return {image_file.data(), image_file.size()}; }

    template <std::size_t N>
    static constexpr std::array<char, N> blanks()
    {
        std::array<char, N> a{};
        a.fill(' ');
        return a;
    }
};

// What a device stores about itself on operation 1; the screen side and the
// hardcopy side keep one each.
struct DeviceDescription {
    // One "0" or "1" per position; nothing reads them.
    std::array<char, 29> capability_flags = zeros();
    // Word D: 1 when the device takes RGB values directly (read by IGrColourN).
    int true_colour = 0;
    // Word E: 2 when the device shades polygons itself, else 1 (0 before a
    // device was selected).
    int shading = 0;
    // The further description words, stored and read by no routine.
    float real_value = 0;
    int word_a = 0;
    int word_b = 0;
    int platform_level = 0; // word C
    int word_f = 0, word_g = 0, word_h = 0;
    int resolution_x = 0, resolution_y = 0;

    void flags_set(std::string_view flags); // bounded to 29 characters
    std::string_view flags_view() const { return {capability_flags.data(), capability_flags.size()}; }

    static constexpr std::array<char, 29> zeros()
    {
        std::array<char, 29> a{};
        a.fill('0');
        return a;
    }
};

struct DeviceCapabilities {
    DeviceDescription screen;
    DeviceDescription hardcopy;
};

// The one graphics state that every graphics routine and every device reads.
// It is a plain value: save it by copying, restore it with GraphicsStateSaver.
struct GraphicsState {
    // Drawing target.
    int target_kind = target_window;
    int target_number = 0;          // window, bitmap 1..51, field identifier or metafile slot
    int target_dialog = 0;          // dialog owning the graphics field (kind 3)
    int internal_reselect = 0;      // set while YYWINSEL updates the drawable size
    int memory_device = 0;          // 1 while the in-memory CGM device is the screen side

    // The graphics side's current window and its client size.
    int current_window = 0;
    int client_width = 0, client_height = 0;

    // Drawable and device space.
    int drawable_width = 0, drawable_height = 0;
    int screen_active = 1;
    int hardcopy_active = 0;
    int device_width = 0, device_height = 0;
    float device_limit_x = 0, device_limit_y = 0;      // size - 0.01
    float rotated_limit_x = 0, rotated_limit_y = 0;
    float rotated_area_span_x = 0, rotated_area_span_y = 0;
    float rotated_hardcopy_scale_x = 0, rotated_hardcopy_scale_y = 0;
    float drawable_aspect = 1.32f;
    float page_aspect = 0;
    int rotation = 0;

    // User units, graphics area, clip box, position.
    float user_x1 = 0, user_y1 = 0, user_x2 = 1, user_y2 = 1;
    float user_span_x = 1, user_span_y = 1;
    float area_x1 = 0, area_y1 = 0, area_x2 = 1, area_y2 = 1;
    float area_span_x = 1, area_span_y = 1;
    float area_px1 = 0, area_py1 = 0, area_px2 = 0, area_py2 = 0;
    float clip_test_x1 = 0, clip_test_y1 = 0, clip_test_x2 = 0, clip_test_y2 = 0;
    int area_ix1 = 0, area_iy1 = 0, area_ix2 = 0, area_iy2 = 0;
    float area_span_px = 0, area_span_py = 0;
    float screen_area_x1 = 0, screen_area_y1 = 0, screen_area_x2 = 0, screen_area_y2 = 0;
    float screen_area_span_x = 0, screen_area_span_y = 0;
    int screen_clip_x1 = 0, screen_clip_y1 = 0, screen_clip_x2 = 0, screen_clip_y2 = 0;
    float position_x = 0, position_y = 0;

    // Colours.
    int colour_mode = 1;            // 1 palette indexes, 2 RGB values
    int prev_index = 0, cur_index = 223;
    std::int32_t prev_rgb = 0xFFFFFF, cur_rgb = 0;
    int prev_device_colour = 0, cur_device_colour = 0;
    int device_colour_count = 0;    // display colours the device colour numbers are made for
    int hardcopy_colour_count = 0;  // set by the hardcopy driver on operation 1
    int hardcopy_colour_limit = 0;

    // Lines and fills.
    int drawing_mode = 0;
    int line_type = 0;
    int line_cap = 0;
    int line_join = 0;
    int line_width = 1;
    int metafile_line_width = 5;
    int fill_style = 0;
    int fill_density = 2;
    int fill_angle = 3;
    int fill_outline = 1;
    int fill_emulation_screen = 0;
    int fill_emulation_hardcopy = 0; // the drivers' hatch-mode word: set when a driver leaves fills to hatching
    float hardcopy_hatch_pitch = 0;  // device units between emulated fill lines
    int solid_fill = 0;              // not 0: the raster device fills solid black or white

    // Characters and fonts.
    float char_width = 0.01333333f, char_height = 0.03333333f;
    float char_scale_x = 0, char_scale_y = 0;
    float char_angle = 0, device_char_angle = 0;
    float char_cos = 1, char_sin_x = 0, char_sin_y = 0;
    float device_char_cos = 1, device_char_sin_x = 0, device_char_sin_y = 0;
    int font_family = 1;
    int font_mode = 1;
    int font_style = 0;
    std::array<char, 100> font_name = DeviceParameters::blanks<100>();
    int text_alignment = 1;
    int text_layout = 0, text_kind = 0;
    int device_cell_width = 0, device_cell_height = 0;
    // Per-character layout steps (a, b) and box (p, q); nothing sets them.
    float char_step_x = 0, char_step_y = 0, char_box_x = 0, char_box_y = 0;
    // Proportional width factors by character code (32..127, 161..255).
    std::array<float, 256> char_width_factor{};
};

GraphicsState& graphics_state();
DeviceParameters& device_parameters();
DeviceCapabilities& device_capabilities();

// Saves the whole graphics state and puts it back when it leaves scope.
class GraphicsStateSaver {
public:
    GraphicsStateSaver() : saved_(graphics_state()) {}
    ~GraphicsStateSaver() { graphics_state() = saved_; }
    GraphicsStateSaver(const GraphicsStateSaver&) = delete;
    GraphicsStateSaver& operator=(const GraphicsStateSaver&) = delete;
    const GraphicsState& saved() const { return saved_; }

private:
    GraphicsState saved_;
};

// The device-operation interface. A device overrides the operations it
// carries out; the others do nothing.
class Device {
public:
    virtual ~Device() = default;

    // Carries out operation op (1..40); other numbers reach unknown_operation.
    void operate(int op, DeviceParameters& p);
    void operate(DeviceOperation op, DeviceParameters& p) { operate(+op, p); }

    virtual void select(DeviceParameters&) {}
    virtual void line(DeviceParameters&) {}
    virtual void colour(DeviceParameters&) {}
    virtual void ellipse_outline(DeviceParameters&) {}
    virtual void ellipse_fill(DeviceParameters&) {}
    virtual void ellipse_solid(DeviceParameters&) {}
    virtual void quadrilateral_fill(DeviceParameters&) {}
    virtual void quadrilateral_solid(DeviceParameters&) {}
    virtual void rectangle_fill(DeviceParameters&) {}
    virtual void rectangle_solid(DeviceParameters&) {}
    virtual void triangle_fill(DeviceParameters&) {}
    virtual void triangle_solid(DeviceParameters&) {}
    virtual void pie_fill(DeviceParameters&) {}
    virtual void pie_solid(DeviceParameters&) {}
    virtual void polygon_fill(DeviceParameters&) {}
    virtual void polygon_solid(DeviceParameters&) {}
    virtual void clear(DeviceParameters&) {}
    virtual void open(DeviceParameters&) {}
    virtual void close(DeviceParameters&) {}
    virtual void end_page(DeviceParameters&) {}
    virtual void character_size(DeviceParameters&) {}
    virtual void text(DeviceParameters&) {}
    virtual void block_move(DeviceParameters&) {}
    virtual void clip(DeviceParameters&) {}
    virtual void text_width(DeviceParameters&) {}
    virtual void point(DeviceParameters&) {}
    virtual void drawing_mode(DeviceParameters&) {}
    virtual void palette_entry(DeviceParameters&) {}
    virtual void line_type(DeviceParameters&) {}
    virtual void line_width(DeviceParameters&) {}
    virtual void read_pixel(DeviceParameters&) {}
    virtual void polyline(DeviceParameters&) {}
    virtual void character_angle(DeviceParameters&) {}
    virtual void arc(DeviceParameters&) {}
    virtual void palette(DeviceParameters&) {}
    virtual void line_join(DeviceParameters&) {}
    virtual void line_cap(DeviceParameters&) {}
    virtual void image_file(DeviceParameters&) {}
    virtual void metafile_header(DeviceParameters&) {}
    virtual void shaded_polygon(DeviceParameters&) {}
    virtual void unknown_operation(int /*op*/, DeviceParameters&) {}
};

// Sends op to the screen side while screen_active >= 1: to the CGM device
// when memory_device is set, else to the GDI device.
void gr_send_screen(int op);
inline void gr_send_screen(DeviceOperation op) { gr_send_screen(+op); }
// Sends op to the hardcopy dispatcher while hardcopy_active >= 1.
void gr_send_hardcopy(int op);
inline void gr_send_hardcopy(DeviceOperation op) { gr_send_hardcopy(+op); }

// What the graphics and hardcopy layers need of the window, bitmap, dialog
// and metafile layers and of the platform. The defaults describe a toolkit
// with no windows, bitmaps, dialogs, metafiles or printer, where every
// selection fails. The Windows tree installs its own when the root window
// opens (gr_platform_install); tests install their own.
class GraphicsPlatform {
public:
    virtual ~GraphicsPlatform() = default;
    // Gives back what the current drawing target holds.
    virtual void release() {}
    // Makes the window the window layer's current window: 0 and its client
    // size, or -1 when the window is not open.
    virtual int window_select(int /*window*/, int& /*width*/, int& /*height*/) { return -1; }
    // Converts the window text size to pixels of the new drawable.
    virtual void text_size_to_pixels() {}
    // Colours of the display the root window opened on.
    virtual int display_colour_count() { return 0; }
    // Highest bitmap handle accepted now (50; 51 while the page set-up
    // preview draws).
    virtual int bitmap_limit() { return 50; }
    // Makes bitmap slot (from 0) the target: status 0 and its size, else > 0.
    virtual int bitmap_select(int /*slot*/, int& /*width*/, int& /*height*/) { return 1; }
    // Identifier of the current dialog, 0 when none.
    virtual int current_dialog() { return 0; }
    // Makes a graphics field of the current dialog the target and gives its
    // size, or sets field to -1.
    virtual void field_select(int& field, int& /*width*/, int& /*height*/) { field = -1; }
    // Kind of metafile slot 1..20 when in use (3 enhanced, 6 in-memory CGM),
    // with its size; 0 when free or not in use.
    // The default reads the slot table.
    virtual int metafile_kind(int slot, int& width, int& height);
    // Makes an enhanced-metafile slot's recording context the target: status.
    virtual int metafile_select(int /*slot*/, int /*width*/, int /*height*/) { return 1; }

    // The default Windows printer's page (points) and colours.
    struct PrinterPage {
        int width = 0, height = 0, x_offset = 0, y_offset = 0;
        int orientation = 0, copies = 0, colours = 0;
    };
    // Reads the default printer: 0, or the system's error code.
    virtual int printer_defaults(PrinterPage& /*page*/) { return 1; }
    // 2 on Windows NT, else 1.
    virtual int platform_level() { return 2; }
    // 2 when GradientFill is available, else 1.
    virtual int gradient_level() { return 1; }
    // Runs a print command and waits for it (YYPRNCMD).
    virtual void print_command_run(std::string_view /*command*/) {}
    // Deletes a finished plot file.
    virtual void file_delete(std::string_view /*name*/) {}
};

// Installs the platform services; nullptr puts back the defaults. Returns
// the previous ones (nullptr for the defaults).
GraphicsPlatform* gr_platform_services_install(GraphicsPlatform* services);
GraphicsPlatform& gr_platform();

// Windows tree only: installs the Windows platform services and the GDI
// device where none are installed. The root window calls it before
// gr_graphics_start.
void gr_platform_install();

// Makes a window the graphics window (error 1003 under "YYWINSEL" when it
// is not open); reselect is kept in internal_reselect meanwhile.
void YYWINSEL(int window, int reselect);
void gr_window_select_current(int window);
void gr_drawable_size_update(int kind, int number, int width, int height);
void gr_field_resized(int dialog, int field, int width, int height);
void gr_window_resized(int window, int width, int height);
// The graphics start-up of the root window ("H": no screen side; "P": keep
// the hardcopy options across the driver selection).
void gr_graphics_start(std::string_view options);

} // namespace korv

// Character cell size as fractions of the graphics area; an absent size
// keeps the current one, a size of 0 or less takes the default.
void IGrCharacterSizeSet(std::optional<float> width = std::nullopt, std::optional<float> height = std::nullopt);

// Selects the drawing target: 1 window (default the current window),
// 2 memory bitmap (default 1), 3 graphics field of the current dialog
// (default 0), 4 metafile slot (default 1). Error 1019 on failure.
void IGrSelect(int kind, std::optional<int> number = std::nullopt);
