#include "dialog_cache.h"

#include <algorithm>
#include <bit>
#include <cmath>

namespace {

constexpr int kHidden = 3;

std::int32_t preview_component(float x)
{
    const float scaled = x * 256.0f;
    if (!(scaled > 0.0f)) {
        return 0;  // below zero, or NaN
    }
    if (scaled >= 255.0f) {
        return 255;
    }
    return static_cast<std::int32_t>(scaled);
}

} // namespace

std::int32_t cc_preview_pixel(float r, float g, float b)
{
    return preview_component(r) + 256 * preview_component(g) + 65536 * preview_component(b);
}

void DialogCache::put_trackbar(int field, int position, int selection_start, int selection_end)
{
    put(field, {Kind::trackbar, position, selection_start, selection_end, 0.0f, {}});
}

void DialogCache::put_integer(int field, int value)
{
    put(field, {Kind::integer, value, 0, 0, 0.0f, {}});
}

void DialogCache::put_real(int field, float value)
{
    // Compared by its bits: -0 and 0 are written differently.
    put(field, {Kind::real, static_cast<int>(std::bit_cast<std::uint32_t>(value)), 0, 0, value, {}});
}

void DialogCache::put_string(int field, std::string_view text)
{
    put(field, {Kind::text, 0, 0, 0, 0.0f, std::string(text)});
}

void DialogCache::put(int field, const Content& content)
{
    Field& f = fields_[field];
    f.wanted = content;
    if (f.state == kHidden) {
        return;  // written when it is shown
    }
    if (f.shown.kind != Kind::none && f.shown == content) {
        return;
    }
    write(field, content);
}

void DialogCache::write(int field, const Content& content)
{
    switch (content.kind) {
    case Kind::trackbar: toolkit_.put_trackbar(field, content.a, content.b, content.c); break;
    case Kind::integer: toolkit_.put_integer(field, content.a); break;
    case Kind::real: toolkit_.put_real(field, content.real); break;
    case Kind::text: toolkit_.put_string(field, content.text); break;
    case Kind::none: return;
    }
    fields_[field].shown = content;
}

void DialogCache::put_menu(int field, std::span<const std::string_view> items, int selected)
{
    Menu& m = menus_[field];
    const bool same_items = std::equal(items.begin(), items.end(), m.items.begin(), m.items.end(),
                                       [](std::string_view a, const std::string& b) { return a == b; });
    if (same_items && !m.items.empty()) {
        select_menu_item(field, selected);
        return;
    }
    toolkit_.put_menu(field, items, selected);
    m.items.assign(items.begin(), items.end());
    m.selected = selected;
}

void DialogCache::select_menu_item(int field, int selected)
{
    Menu& m = menus_[field];
    if (m.selected == selected) {
        return;
    }
    toolkit_.select_menu_item(field, selected);
    m.selected = selected;
}

void DialogCache::field_state(int field, int state)
{
    Field& f = fields_[field];
    if (state == kHidden) {
        if (f.show_held) {
            // Shown and hidden again before it was ever shown: it stays hidden.
            f.show_held = false;
            std::erase(held_, field);
            return;
        }
        if (f.state == kHidden) {
            return;
        }
        toolkit_.field_state(field, state);
        f.state = state;
        return;
    }
    if (f.state == kHidden || f.show_held) {
        // Shown at the end of the refresh, with what was written meanwhile.
        if (!f.show_held) {
            held_.push_back(field);
        }
        f.show_held = true;
        f.held_state = state;
        return;
    }
    if (f.state == state) {
        return;
    }
    toolkit_.field_state(field, state);
    f.state = state;
}

void DialogCache::flush()
{
    for (int field : held_) {
        Field& f = fields_[field];
        if (f.wanted.kind != Kind::none && !(f.shown.kind != Kind::none && f.shown == f.wanted)) {
            write(field, f.wanted);
        }
        toolkit_.field_state(field, f.held_state);
        f.state = f.held_state;
        f.show_held = false;
    }
    held_.clear();
}

void DialogCache::spinner_step(int field, float small_step, float large_step)
{
    toolkit_.spinner_step(field, small_step, large_step);
}

void DialogCache::show_preview(int field, float r, float g, float b, int width, int height)
{
    const Preview shown{cc_preview_pixel(r, g, b), width, height};
    const auto it = previews_.find(field);
    if (it != previews_.end() && it->second.pixel == shown.pixel && it->second.width == width &&
        it->second.height == height) {
        return;
    }
    toolkit_.show_preview(field, r, g, b, width, height);
    previews_[field] = shown;
}

void DialogCache::forget(int field)
{
    if (const auto it = fields_.find(field); it != fields_.end()) {
        it->second.shown = {};
    }
    if (const auto it = menus_.find(field); it != menus_.end()) {
        it->second.selected = -1;
    }
}

void DialogCache::note_trackbar(int field, int position)
{
    Field& f = fields_[field];
    if (f.shown.kind != Kind::trackbar) {
        // The selection a trackbar holds is the one last put into it.
        f.shown = f.wanted.kind == Kind::trackbar ? f.wanted : Content{};
    }
    if (f.shown.kind == Kind::trackbar) {
        f.shown.a = position;
    }
}

std::optional<DialogCache::WrittenNumber> DialogCache::written_number(int field) const
{
    const auto it = fields_.find(field);
    if (it == fields_.end()) {
        return std::nullopt;
    }
    const Content& c = it->second.shown;
    if (c.kind == Kind::integer) {
        return WrittenNumber{true, c.a, 0.0f};
    }
    if (c.kind == Kind::real) {
        return WrittenNumber{false, 0, c.real};
    }
    return std::nullopt;
}

std::optional<std::string> DialogCache::written_text(int field) const
{
    const auto it = fields_.find(field);
    if (it == fields_.end() || it->second.shown.kind != Kind::text) {
        return std::nullopt;
    }
    return it->second.shown.text;
}
