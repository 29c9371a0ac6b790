// The raster device: draws a page into a bitmap in memory for the raster
// image driver and the raster printer driver, which size the bitmap, write
// it out at the end of each page and clear it. Pixel row 0 is the bottom of
// the page.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "korvanthide/graphics_state.h"
#include "graphics/formats/image_decode.h"
#include "hardcopy/drivers/file_driver.h"
#include "hardcopy/drivers/halftone.h"

namespace korv {

// Bitmaps above this many words count as an allocation that failed: a page
// that large is a mistake, and the drivers then shrink it.
inline constexpr long long raster_word_limit = 1LL << 28;

struct RasterBitmapRecord {
    int width = 0, height = 0;
    int last_column = -1, last_row = -1;
    long long usable_words = 0; // the last word the page clear reaches
    long long words_per_row = 0, words_per_plane = 0, total_words = 0;
    int printer_columns = 0, printer_rows = 0;
    std::uint32_t clear_value = 0;
    float resolution_x = 0, resolution_y = 0;
    int bits = 8;     // 1, 3, 4, 8 or 24 bits a pixel
    int storage = 3;  // 1 bit, 2 bit planes, 3 byte, 4 word
    int planes = 1;
    // Byte k of a word: cleared by mask k while drawing (NOT 255 << 8k);
    // the image writers turn them into 255 << 8k while they read a page.
    std::array<std::uint32_t, 4> byte_masks{};
    // total_words + 1 while a page is open, in the memory pictures are
    // made in (large pages where the system has them).
    std::vector<std::uint32_t, UninitialisedAllocator<std::uint32_t>> words;

    bool allocated() const { return !words.empty(); }
    // Sizes the rows and planes for width, height, bits and pixels per
    // word, and allocates them; false when the allocation failed.
    bool allocate(int pixels_per_word);
    void release() { decltype(words)().swap(words); }

    // The stored value of pixel (x, y); 0 outside the page.
    std::uint32_t value_at(int x, int y) const;
};

// The description both raster drivers start from, as driver `number`.
DriverDefaults hc_raster_defaults(int number);

// For tests: the next bitmap allocation fails, as on a machine short of memory.
void hc_raster_fail_next_allocation();

class RasterDevice : public FileDriver {
public:
    RasterBitmapRecord page;

    // The page's reset, unless only the driver's number is asked, then the
    // driver's description.
    void select(DeviceParameters& p) override;
    void open(DeviceParameters& p) override;
    void close(DeviceParameters& p) override;
    void clear(DeviceParameters& p) override;
    void colour(DeviceParameters& p) override;
    void palette(DeviceParameters& p) override { colour(p); }
    void clip(DeviceParameters& p) override;
    void line_type(DeviceParameters& p) override;
    void line_width(DeviceParameters& p) override;
    void line(DeviceParameters& p) override;
    void polyline(DeviceParameters& p) override;
    void point(DeviceParameters& p) override;
    void image_file(DeviceParameters& p) override;
    void shaded_polygon(DeviceParameters& p) override;

    // The drawing primitives, in pixels.
    void hc_raster_set_bits(std::uint32_t value, int x, int y);
    void hc_raster_span(std::uint32_t value, int x1, int y, int x2);
    void hc_raster_plot_pixel(int x, int y, std::int32_t rgb);
    void hc_raster_span_fill(int x1, int x2, int y);
    void hc_raster_line(int x1, int y1, int x2, int y2, bool continuation);

    // The pixel value of the current colour at this page's depth.
    std::uint32_t colour_value() const;
    int pen_a() const { return pen_a_; }
    int pen_b() const { return pen_b_; }

protected:
    // The drivers' open, once they have sized and allocated the page: the
    // output opened and, on a fresh page, the page cleared.
    void open_page(DeviceParameters& p);
    // A page too large for memory at any size the driver allows: reported,
    // and nothing is drawn.
    void stop_page_too_large();

private:
    float sx_ = 1, sy_ = 1;
    int clip_x1_ = 0, clip_x2_ = 0, clip_y1_ = 0, clip_y2_ = 0;
    std::uint32_t value_ = 0, previous_value_ = 0;
    HalftoneMasks masks_, previous_masks_;
    std::unique_ptr<RasterDitherTables> dither_ = std::make_unique<RasterDitherTables>();
    std::uint32_t even_pattern_ = 0, odd_pattern_ = 0;
    bool two_colours_ = false;
    std::uint32_t dash_bits_ = 0xFFF;
    int dash_length_ = 12, dash_position_ = 0, dash_count_ = 1, dash_unit_x_ = 1, dash_unit_y_ = 1;
    int pen_a_ = 0, pen_b_ = 0;
    int last_x_ = -9999, last_y_ = -9999;

    int px(float x) const;
    int py(float y) const;
    void shape(int op, DeviceParameters& p) override;
    void triangle(const DeviceParameters& p);
    void quadrilateral(const DeviceParameters& p);
    std::uint32_t dithered(int x, int y, std::int32_t rgb) const;
};

// x of the edge from (xa, ya) to (xb, yb) on row y; 32767 for a flat edge.
int hc_raster_edge_x(int xa, int ya, int xb, int yb, int y);

} // namespace korv
