// Presentation graphics set-up: the data ranges, margins and axis scales of
// graphs of data sets, the graph definition, and the default styles and
// colours of up to 500 data sets.
#pragma once

#include <optional>
#include <span>
#include <string_view>

// The x and y data ranges; equal bounds on an axis make it 0..1 with
// error 16 (reported per axis). Falling ranges are kept.
void IPgArea(float x1, float y1, float x2, float y2);
// The z range; z2 <= z1 gives 0..1 and error 16.
void IPgUnitsZ(float z1, float z2);
// The unit of polar graphs; 0 or less gives 1 and error 16.
void IPgUnitsPolar(float unit);
// The plot box inside the graphics area as fractions; a value outside its
// range (left, bottom in [0, 1), right, top in (0, 1]) is ignored.
void IPgMarginsSet(float left, float bottom, float right, float top);
// Graph type 1..11 (others 4), data sets 1..500, up to three dimensions
// (missing ones 1), option bits, and with defaults not 0 the per-type
// default styles and colours of the sets.
void IPgGraphDefine(int type, int sets, std::span<const int> dims, std::optional<int> options = std::nullopt,
                    std::optional<int> defaults = std::nullopt);
