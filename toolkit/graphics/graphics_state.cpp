#include "korvanthide/graphics_state.h"

#include <utility>

#include "korvanthide/fixed_text.h"
#include "core/context.h"
#include "core/services/hardcopy.h"
#include "graphics/screen_device.h"

namespace korv {

namespace {

// The graphics layer's one state: the graphics state proper, the shared
// parameter block, both capability slots and the installed devices.
struct GraphicsContext {
    GraphicsState state;
    DeviceParameters params;
    DeviceCapabilities capabilities;
    Device* gdi_device = nullptr;
    Device* cgm_device = nullptr;
    GraphicsPlatform* platform = nullptr;
};

GraphicsContext& context()
{
    return toolkit_context().record<GraphicsContext>(ContextSlot::graphics_context);
}

// Stands in for a side with no device installed.
Device& null_device()
{
    static Device none;
    return none;
}

GraphicsPlatform& no_platform()
{
    static GraphicsPlatform none;
    return none;
}

} // namespace

GraphicsState& graphics_state() { return context().state; }
DeviceParameters& device_parameters() { return context().params; }
DeviceCapabilities& device_capabilities() { return context().capabilities; }

bool DeviceParameters::text_set(std::string_view src) { return text_assign(text, src); }
bool DeviceParameters::image_file_set(std::string_view src) { return text_assign(image_file, src); }

void DeviceDescription::flags_set(std::string_view flags) { text_assign(capability_flags, flags); }

void Device::operate(int op, DeviceParameters& p)
{
    switch (static_cast<DeviceOperation>(op)) {
    case DeviceOperation::Select: select(p); break;
    case DeviceOperation::Line: line(p); break;
    case DeviceOperation::Colour: colour(p); break;
    case DeviceOperation::EllipseOutline: ellipse_outline(p); break;
    case DeviceOperation::EllipseFill: ellipse_fill(p); break;
    case DeviceOperation::EllipseSolid: ellipse_solid(p); break;
    case DeviceOperation::QuadrilateralFill: quadrilateral_fill(p); break;
    case DeviceOperation::QuadrilateralSolid: quadrilateral_solid(p); break;
    case DeviceOperation::RectangleFill: rectangle_fill(p); break;
    case DeviceOperation::RectangleSolid: rectangle_solid(p); break;
    case DeviceOperation::TriangleFill: triangle_fill(p); break;
    case DeviceOperation::TriangleSolid: triangle_solid(p); break;
    case DeviceOperation::PieFill: pie_fill(p); break;
    case DeviceOperation::PieSolid: pie_solid(p); break;
    case DeviceOperation::PolygonFill: polygon_fill(p); break;
    case DeviceOperation::PolygonSolid: polygon_solid(p); break;
    case DeviceOperation::Clear: clear(p); break;
    case DeviceOperation::Open: open(p); break;
    case DeviceOperation::Close: close(p); break;
    case DeviceOperation::EndPage: end_page(p); break;
    case DeviceOperation::CharacterSize: character_size(p); break;
    case DeviceOperation::Text: text(p); break;
    case DeviceOperation::BlockMove: block_move(p); break;
    case DeviceOperation::Clip: clip(p); break;
    case DeviceOperation::TextWidth: text_width(p); break;
    case DeviceOperation::Point: point(p); break;
    case DeviceOperation::DrawingMode: drawing_mode(p); break;
    case DeviceOperation::PaletteEntry: palette_entry(p); break;
    case DeviceOperation::LineType: line_type(p); break;
    case DeviceOperation::LineWidth: line_width(p); break;
    case DeviceOperation::ReadPixel: read_pixel(p); break;
    case DeviceOperation::Polyline: polyline(p); break;
    case DeviceOperation::CharacterAngle: character_angle(p); break;
    case DeviceOperation::Arc: arc(p); break;
    case DeviceOperation::Palette: palette(p); break;
    case DeviceOperation::LineJoin: line_join(p); break;
    case DeviceOperation::LineCap: line_cap(p); break;
    case DeviceOperation::ImageFile: image_file(p); break;
    case DeviceOperation::MetafileHeader: metafile_header(p); break;
    case DeviceOperation::ShadedPolygon: shaded_polygon(p); break;
    default: unknown_operation(op, p); break;
    }
}

Device* gr_screen_device_install(Device* device) { return std::exchange(context().gdi_device, device); }
Device* gr_memory_device_install(Device* device) { return std::exchange(context().cgm_device, device); }

Device& gr_screen_device()
{
    const GraphicsContext& c = context();
    Device* device = c.state.memory_device != 0 ? c.cgm_device : c.gdi_device;
    return device != nullptr ? *device : null_device();
}

void gr_send_screen(int op)
{
    if (graphics_state().screen_active < 1)
        return;
    gr_screen_device().operate(op, device_parameters());
}

void gr_send_hardcopy(int op)
{
    if (graphics_state().hardcopy_active < 1)
        return;
    hardcopy_services().dispatch(op);
}

GraphicsPlatform* gr_platform_services_install(GraphicsPlatform* services)
{
    return std::exchange(context().platform, services);
}

GraphicsPlatform& gr_platform()
{
    GraphicsPlatform* p = context().platform;
    return p != nullptr ? *p : no_platform();
}

} // namespace korv
