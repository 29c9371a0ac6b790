// The event store and its rules. Nothing here touches Windows: the window
// and dialog procedures resolve their messages into an EventPost first.
#include "korvanthide/events.h"
#include "core/context.h"
#include "core/event_store.h"

namespace korv {

namespace {

bool is_window_slot(int n) { return n >= 0 && n <= 50; }

// Graphics-field variants that exist (104-108, 116); 101-103 and 109-115 post nothing.
bool field_variant_exists(int base)
{
    return (base >= event::mouse_down && base <= event::resize) || base == event::double_click;
}

void store_values(PostedEvent& store, const EventPost& post, int type)
{
    store.type = type;
    store.window = post.window;
    store.time = post.time;
    store.first = post.first;
    store.second = post.second;
    store.source = post.source;
    store.field = post.field;
    store.x = post.x;
    store.y = post.y;
    store.waiting = 0;
}

// Hands a kept-back record out as an event of window (or dialog) `window`.
void hand_out(EventRecord& record, int window, const PendingRedrawRecord& pending)
{
    record.window() = window;
    record.first() = pending.first;
    record.second() = pending.second;
    record.source() = pending.source;
    record.field() = pending.field;
    record.time() = pending.time;
    record.pixel_x() = pending.x;
    record.pixel_y() = pending.y;
}

// Several exposes merged into one: the whole client area is redrawn.
void expose_whole_client(EventRecord& record, int window, const WindowQuery& windows)
{
    int width = 0, height = 0;
    windows.client_size(window, width, height);
    record.first() = width;
    record.second() = height;
    record.pixel_x() = 0;
    record.pixel_y() = 0;
}

} // namespace

EventState& event_state()
{
    return toolkit_context().record<EventState>(ContextSlot::events);
}

void event_enable_reset() { event_state().enable = EventEnableTable::defaults(); }

int win_event_enable_get(int type)
{
    if (type < 1 || type > 16) {
        return 0;
    }
    return event_state().enable.flags[static_cast<std::size_t>(type - 1)];
}

PostOutcome event_post(const EventPost& post)
{
    EventState& state = event_state();
    PostedEvent& store = state.store;

    const bool field_variant = post.type > event::field_offset;
    const int type = field_variant ? post.type - event::field_offset : post.type;
    if (type < 1 || type > 16 || (field_variant && !field_variant_exists(type))) {
        return PostOutcome::ignored;
    }
    if (state.enable.flags[static_cast<std::size_t>(type - 1)] == 0) {
        return PostOutcome::ignored;
    }

    // A resize already waiting to be handed out covers the repaint.
    if (type == event::expose && store.posted() && store.type == event::resize) {
        return PostOutcome::ignored;
    }

    if (type == event::resize) {
        if (post.minimised) {
            return PostOutcome::ignored;
        }
        if (!post.visible) {
            // Not an event; the size is kept only where it cannot spoil one
            // that is waiting to be handed out.
            if (!store.posted()) {
                store.first = post.first;
                store.second = post.second;
            }
            return PostOutcome::hidden_resize;
        }
    }

    if (type == event::field_changed && store.posted() && state.in_pump != 0) {
        // The waiting event stays; this field change comes with the next wait.
        // A further one replaces it.
        PendingRedrawRecord& deferred = state.pending[pending_field_changed];
        deferred = {event::field_changed, post.first, post.second, event::source_window,
                    -1, post.x, post.y, post.window, post.time};
        return PostOutcome::deferred;
    }

    if (type == event::expose && store.posted() && state.in_pump != 0
        && store.type == event::expose && store.source == event::source_field) {
        // A graphics field's expose makes way for the new one and is handed
        // out by a later wait.
        state.pending[pending_field_expose] = {event::expose, 0, 0, store.source, store.field,
                                               0, 0, store.window, store.time};
    }

    const int kept_x = store.x;
    store_values(store, post, type);
    if (type == event::field_changed) {
        if (state.first_field_change == 0) {
            store.x = kept_x;
        }
        state.first_field_change = 0;
    }
    return PostOutcome::stored;
}

int win_key_code_map(int key, int modifier)
{
    // Virtual-key numbers of the platform's keyboard layer.
    constexpr int vk_tab = 9, vk_clear = 12, vk_prior = 33, vk_next = 34, vk_end = 35;
    constexpr int vk_home = 36, vk_left = 37, vk_up = 38, vk_right = 39, vk_down = 40;
    constexpr int vk_select = 41, vk_snapshot = 44, vk_insert = 45, vk_delete = 46;
    constexpr int vk_numpad0 = 96, vk_numpad4 = 100, vk_numpad5 = 101, vk_numpad6 = 102;
    constexpr int vk_numpad9 = 105, vk_multiply = 106, vk_add = 107, vk_separator = 108;
    constexpr int vk_subtract = 109, vk_decimal = 110, vk_divide = 111, vk_f1 = 112;
    constexpr int vk_f20 = 131;

    switch (key) {
    case vk_tab: return modifier == 20 ? 274 : 9;
    case vk_clear:
    case vk_numpad5: return 285;
    case vk_prior: return 262;
    case vk_next: return 263;
    case vk_end:
    case vk_select: return 271;
    case vk_home: return 270;
    case vk_up: return 258 + modifier / 5;
    case vk_down: return 259 + modifier / 5;
    case vk_right: return 260 + modifier / 5;
    case vk_left: return 261 + modifier / 5;
    case vk_snapshot: return 300;
    case vk_insert: return 272;
    case vk_delete: return 273;
    case vk_multiply: return 294;
    case vk_add:
    case vk_separator: return 292;
    case vk_subtract: return 290;
    case vk_decimal: return 291;
    case vk_divide: return 293;
    default: break;
    }
    if (key >= vk_numpad0 && key <= vk_numpad4) {
        return 280 + (key - vk_numpad0);
    }
    if (key >= vk_numpad6 && key <= vk_numpad9) {
        return 286 + (key - vk_numpad6);
    }
    if (key >= vk_f1 && key <= vk_f20) {
        return key + modifier + 189;
    }
    return key;
}

int event_key_code(bool is_virtual, int key)
{
    if (!is_virtual) {
        return key;
    }
    if (key >= 8192) {
        return win_key_code_map(key - 8192, 40);
    }
    if (key >= 4096) {
        return win_key_code_map(key - 4096, 20);
    }
    return win_key_code_map(key, 0);
}

int win_modifier_bits(int key_state)
{
    // Key-state bits of mouse messages: left 0x1, right 0x2, Shift 0x4,
    // Ctrl 0x8, middle 0x10.
    int bits = 0;
    if (key_state & 0x8) bits += 1;
    if (key_state & 0x4) bits += 2;
    if (key_state & 0x1) bits += 4;
    if (key_state & 0x10) bits += 8;
    if (key_state & 0x2) bits += 16;
    return bits;
}

void event_wait_begin()
{
    EventState& state = event_state();
    state.in_pump = 1;
    state.store.type = 0;
}

bool event_take_pending(int& type, EventRecord& record, const WindowQuery& windows)
{
    EventState& state = event_state();
    for (int n = 0; n <= 50; ++n) {
        PendingRedrawRecord& pending = state.pending[static_cast<std::size_t>(n)];
        if (pending.type <= 0 || !windows.has_client(n)) {
            continue;
        }
        type = pending.type;
        hand_out(record, n, pending);
        if (pending.type == event::expose) {
            // Exposes that came while the program was busy: redraw everything once.
            expose_whole_client(record, n, windows);
            record.source() = event::source_window;
        }
        pending = {};
        state.in_pump = 0;
        return true;
    }
    for (int n : {pending_field_changed, pending_field_expose}) {
        PendingRedrawRecord& pending = state.pending[static_cast<std::size_t>(n)];
        if (pending.type == 0) {
            continue;
        }
        type = pending.type;
        hand_out(record, pending.window, pending);
        pending = {};
        state.in_pump = 0;
        return true;
    }
    return false;
}

void event_loop_begin()
{
    EventState& state = event_state();
    state.first_field_change = 1;
    state.store.waiting = 1;
}

void event_wait_finish(int& type, EventRecord& record, const WindowQuery& windows)
{
    EventState& state = event_state();
    const PostedEvent& store = state.store;
    type = store.type;
    record.window() = store.window;
    record.first() = store.first;
    record.second() = store.second;
    record.source() = store.source;
    record.field() = store.field;
    record.pixel_x() = store.x;
    record.pixel_y() = store.y;
    record.time() = store.time;

    if (store.source == event::source_window
        && (type == event::expose || type == event::resize) && is_window_slot(store.window)) {
        // The window procedure kept a copy of this event in case no wait
        // would take it; it is handed out now. An expose kept there besides
        // the one posted widens the repaint to the whole client area. A kept
        // resize is not covered by an expose and stays for the next wait.
        PendingRedrawRecord& pending = state.pending[static_cast<std::size_t>(store.window)];
        if (type == event::expose && pending.type == event::expose) {
            expose_whole_client(record, store.window, windows);
        }
        if (!(type == event::expose && pending.type == event::resize)) {
            pending = {};
        }
    }
    state.in_pump = 0;
    state.store.type = 0;
    state.store.waiting = 0;
}

} // namespace korv

EventEnableTable EventEnableTable::defaults()
{
    EventEnableTable table;
    for (int type : {1, 2, 3, 4, 7, 8, 9, 13, 14}) {
        table.flags[static_cast<std::size_t>(type - 1)] = 1;
    }
    return table;
}

void WEventTypeEnable(int type, int flag)
{
    if (type < 1 || type > 16) {
        return;
    }
    korv::event_state().enable.flags[static_cast<std::size_t>(type - 1)] = flag;
}
