// The enhanced-metafile back end of the metafile slots: each slot (index =
// number - 1) is empty, recording into a metafile context, or closed with
// its metafile. Statuses: 0 done; 1 cannot open or copy, 2 short read (the
// platform's error code beside them).
#pragma once

#include <windows.h>

#include <string_view>

namespace korv {

struct MetafileReference {
    int horizontal_pixels = 0, vertical_pixels = 0;
    int horizontal_mm = 0, vertical_mm = 0;
};

// Starts recording a picture of the given size in points on the default
// printer's information context when the printer is known, else on the
// screen. An entry that holds a metafile already is deleted first.
MetafileReference emf_create(int index, int width_points, int height_points);
void emf_delete(int index);
int emf_load_file(int index, long long size, int& system_code, std::string_view path);
void emf_play(int index, int left, int top, int right, int bottom);
int emf_copy_to_file(int index, int& system_code, std::string_view path);
// Makes a recording slot's context the drawing context: status 0, or 1 for
// an empty or closed entry.
int emf_select_target(int index, int width, int height);

// A copy of the slot's metafile for a picture field (a recording one is
// closed first), which the caller owns; none for an empty entry.
HENHMETAFILE emf_copy(int index);
// Whether the entry is recording (a context and no metafile yet).
bool emf_recording(int index);
// The closed metafile of an entry, or none.
HENHMETAFILE emf_handle(int index);
// The horizontal resolution of the reference device of the last metafile
// made, and the context drawn into now (none unless a slot is the target).
int emf_reference_resolution();
HDC emf_current_context();
void emf_current_context_clear();

// Fills slot number 1..20 as a recording enhanced metafile of the given
// size in points (for tests and programs that build on the slots; nothing
// in the toolkit creates slots). False for a bad number, a slot in use or a
// refused metafile.
bool metafile_slot_create_enhanced(int number, int width_points, int height_points);

} // namespace korv
