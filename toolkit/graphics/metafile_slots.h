// The 20 metafile slots: enhanced metafiles of the Windows graphics
// interface (kind 3, kept by the Windows back end) and binary CGM pictures
// recorded into a byte buffer (kind 6). Slots are numbered 1..20.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace korv {

inline constexpr int metafile_slot_count = 20;
enum MetafileKind : int { metafile_free = 0, metafile_enhanced = 3, metafile_cgm = 6 };

struct MetafileSlot {
    int width_points = 0, height_points = 0;
    // The drawable's size while the slot is the drawing target; for a CGM
    // slot the VDC extent.
    int device_width = 0, device_height = 0;
    int kind = metafile_free;
    int in_use = 0;
    int capacity = 0;   // kind 6: bytes the buffer may hold
    int bytes_used = 0; // kind 6
    std::vector<std::uint8_t> buffer;
    // The CGM device's last written attributes: line, text, fill, edge and
    // auxiliary colour, font index, character height, text alignment, edge
    // width and edge type; -1 when unknown.
    std::array<std::int32_t, 10> cgm_cache{-1, -1, -1, -1, -1, -1, -1, -1, -1, -1};
};

// Slot 1..20, or nullptr.
MetafileSlot* metafile_slot(int number);
// Start-up: every slot free.
void metafile_slots_clear();
// Root window close: destroys every slot whose kind is not 0.
void metafile_slots_release();

// What the Windows tree does with an enhanced-metafile slot (index =
// number - 1) when it is freed; nothing until it installs one.
using MetafileDelete = void (*)(int index);
MetafileDelete metafile_delete_install(MetafileDelete routine);

// Fills a slot as a recording CGM picture of the given size in points with
// a buffer of `capacity` bytes. Nothing in the toolkit creates slots; tests
// and the programs built on the slots do. False for a bad number or a slot
// in use.
bool metafile_slot_create_cgm(int number, int width_points, int height_points, int capacity);

// Makes slot 1..20 the drawing target: an enhanced-metafile slot through
// its recording context, a CGM slot through the in-memory CGM device.
// Status 0 with the slot's device size, else not 0.
void gr_metafile_select_target(int slot, int& status, int& width, int& height);

// Appends bytes to the buffer of the CGM slot that is the drawing target:
// all of them, or with error 1062 none.
void YYGCGM1(std::span<const std::uint8_t> bytes);

} // namespace korv
