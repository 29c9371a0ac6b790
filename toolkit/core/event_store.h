// The event store's own steps, which only the core's window procedures and
// event wait take: posting, key codes, and the wait around the message loop.
#pragma once

#include "korvanthide/events.h"

namespace korv {

// The store algorithm: enable check, expose after resize dropped, field
// change deferral, graphics-field expose deferral, hidden resize.
PostOutcome event_post(const EventPost& post);

// Key code of a virtual key (already plus 4096 for Shift or 8192 for Ctrl)
// or of a character; `modifier` is 40 for Ctrl, 20 for Shift, 0 otherwise.
int win_key_code_map(int key, int modifier);

// Splits a virtual key with its Shift or Ctrl offset and maps it, or passes
// a character (is_virtual false) unchanged.
int event_key_code(bool is_virtual, int key);

// What the wait needs to know about the windows: whether window n has a
// client window, and that client's size in pixels.
struct WindowQuery {
    bool (*has_client)(int window) = nullptr;
    void (*client_size)(int window, int& width, int& height) = nullptr;
};

// The event wait in steps around the message loop:
// event_wait_begin marks the pump running and empties the store; when
// event_take_pending finds a kept-back event (windows' pending records, then
// 51 and 52) it fills the record and ends the wait; otherwise
// event_loop_begin arms the wait flag, the caller pumps messages while
// store.waiting is 1, and event_wait_finish copies the posted event out.
void event_wait_begin();
bool event_take_pending(int& type, EventRecord& record, const WindowQuery& windows);
void event_loop_begin();
void event_wait_finish(int& type, EventRecord& record, const WindowQuery& windows);

} // namespace korv
