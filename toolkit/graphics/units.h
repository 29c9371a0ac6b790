// Inside the graphics layer: the current position, lines clipped to the
// clip box, the area in pixels and its clip box, and rectangle outlines.
#pragma once

namespace korv {

void gr_position_set(float x, float y);
void gr_position_add(float dx, float dy);
void gr_line_clipped(float x1, float y1, float x2, float y2);
// Clips the segment in place to the clip box; false when nothing is left.
bool gr_clip_line(float& x1, float& y1, float& x2, float& y2);
bool gr_clip_point_inside(float x, float y);
bool gr_clip_segment_inside(float x, float y, float xa, float ya, float xb, float yb);
void gr_area_to_pixels();
void gr_area_set_clip(float x1, float y1, float x2, float y2);
void gr_rect_outline(float x1, float y1, float x2, float y2);

} // namespace korv
