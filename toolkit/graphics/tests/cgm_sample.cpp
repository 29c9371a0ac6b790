// Records a picture into a CGM metafile slot: the header, a red filled
// rectangle over the middle of the page and the close, then writes the
// slot's bytes to the file named by the argument and prints the format code
// the recognition gives the file.
#include "graphics/cgm_memory_device.h"
#include "graphics/formats/image_info.h"
#include "graphics/metafile_slots.h"

#include "core/output/byte_sink.h"

#include <cstdio>

int main(int argc, char** argv)
{
    using namespace korv;
    if (argc != 2)
        return 2;
    metafile_slots_clear();
    metafile_slot_create_cgm(1, 400, 300, 1 << 16);
    GraphicsState& g = graphics_state();
    g.target_kind = target_metafile;
    g.target_number = 1;
    g.colour_mode = 2;
    g.cur_rgb = 0x0000FF;
    CgmMemoryDevice device;
    DeviceParameters p;
    device.operate(DeviceOperation::MetafileHeader, p);
    device.operate(DeviceOperation::Open, p);
    device.operate(DeviceOperation::Colour, p);
    const MetafileSlot& slot = *metafile_slot(1);
    g.screen_clip_x1 = 0;
    g.screen_clip_y1 = 0;
    g.screen_clip_x2 = slot.device_width;
    g.screen_clip_y2 = slot.device_height;
    p.px1 = slot.device_width / 4;
    p.py1 = slot.device_height / 4;
    p.px2 = 3 * slot.device_width / 4;
    p.py2 = 3 * slot.device_height / 4;
    device.operate(DeviceOperation::RectangleSolid, p);
    device.operate(DeviceOperation::Close, p);
    ByteSink out;
    out.put(slot.buffer.data(), static_cast<std::size_t>(slot.bytes_used));
    if (!out.commit(argv[1]).ok())
        return 1;
    const auto& b = out.bytes();
    std::printf("%d\n", image_file_info({reinterpret_cast<const std::uint8_t*>(b.data()), b.size()}, 9)[0]);
    return 0;
}
