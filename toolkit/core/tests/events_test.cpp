// The event store's rules, driven without windows: posts as the window and
// dialog procedures make them, waits as the message pump runs them.
#include "korvanthide/events.h"
#include "core/event_store.h"

#include <gtest/gtest.h>

namespace {

using korv::EventPost;
using korv::PostOutcome;

int client_width = 640;
int client_height = 480;
bool has_client(int window) { return window == 0 || window == 3; }
void client_size(int, int& width, int& height)
{
    width = client_width;
    height = client_height;
}
const korv::WindowQuery windows{has_client, client_size};

class EventStore : public ::testing::Test {
protected:
    void SetUp() override
    {
        korv::event_state() = korv::EventState{};
        korv::event_enable_reset();
    }

    // One wait as the pump runs it; `during` stands for the messages that
    // the loop dispatches. Returns false when nothing was posted.
    template <typename F>
    bool wait(int& type, EventRecord& record, F during)
    {
        korv::event_wait_begin();
        if (korv::event_take_pending(type, record, windows)) {
            return true;
        }
        korv::event_loop_begin();
        during();
        if (korv::event_state().store.waiting != 0) {
            return false;
        }
        korv::event_wait_finish(type, record, windows);
        return true;
    }
    bool wait(int& type, EventRecord& record)
    {
        return wait(type, record, [] {});
    }
};

EventPost field_change(int dialog, int previous, int current, int kept, int word)
{
    return {.type = 10, .window = dialog, .first = previous, .second = current,
            .source = 0, .field = -1, .x = kept, .y = word, .time = 77};
}

EventPost expose(int window, int source, int field, int x, int y, int w, int h)
{
    return {.type = source == 1 ? 107 : 7, .window = window, .first = w, .second = h,
            .source = source, .field = field, .x = x, .y = y, .time = 5};
}

EventPost resize(int window, int w, int h, bool visible = true)
{
    return {.type = 8, .window = window, .first = w, .second = h, .source = 0,
            .field = -1, .x = -1, .y = -1, .time = 6, .visible = visible};
}

TEST(EventEnable, DefaultsAndRange)
{
    korv::event_enable_reset();
    const int on[] = {1, 1, 1, 1, 0, 0, 1, 1, 1, 0, 0, 0, 1, 1, 0, 0};
    for (int type = 1; type <= 16; ++type) {
        EXPECT_EQ(korv::win_event_enable_get(type), on[type - 1]) << type;
    }
    WEventTypeEnable(10, 1);
    WEventTypeEnable(0, 1);
    WEventTypeEnable(17, 1);
    WEventTypeEnable(-3, 0);
    EXPECT_EQ(korv::win_event_enable_get(10), 1);
    EXPECT_EQ(korv::win_event_enable_get(0), 0);
    EXPECT_EQ(korv::win_event_enable_get(17), 0);
    EXPECT_EQ(korv::win_event_enable_get(1), 1);
    korv::event_enable_reset();
    EXPECT_EQ(korv::win_event_enable_get(10), 0);
}

TEST(EventKeys, Codes)
{
    struct Case {
        bool is_virtual;
        int key;
        int code;
    };
    const Case cases[] = {
        {true, 112 + 8192, 341},  // Ctrl+F1
        {true, 112, 301},         // F1
        {true, 112 + 4096, 321},  // Shift+F1
        {true, 131, 320},         // F20
        {true, 131 + 8192, 360},  // Ctrl+F20
        {true, 9 + 4096, 274},    // Shift+Tab
        {true, 9, 9},
        {true, 9 + 8192, 9},      // Ctrl+Tab stays Tab
        {true, 33, 262},          // Page Up
        {true, 38 + 4096, 262},   // Shift+Up
        {true, 38 + 8192, 266},   // Ctrl+Up
        {true, 40 + 4096, 263},   // Shift+Down, like Page Down
        {true, 37, 261},
        {true, 39 + 8192, 268},
        {true, 12, 285},          // Clear
        {true, 101, 285},         // numeric 5
        {true, 96, 280},
        {true, 100, 284},
        {true, 105, 289},
        {true, 106, 294},
        {true, 108, 292},
        {true, 110, 291},
        {true, 41, 271},          // Select
        {true, 44, 300},
        {true, 46, 273},
        {true, 65 + 8192, 65},    // Ctrl+A: the key without its offset
        {false, 'A', 'A'},
        {false, 9, 9},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(korv::event_key_code(c.is_virtual, c.key), c.code) << c.key;
    }
}

TEST(EventKeys, ModifierBits)
{
    EXPECT_EQ(korv::win_modifier_bits(0x4 | 0x1), 6);  // Shift with the left button
    EXPECT_EQ(korv::win_modifier_bits(0x8 | 0x10 | 0x2), 1 + 8 + 16);
    EXPECT_EQ(korv::win_modifier_bits(0), 0);
}

TEST_F(EventStore, DisabledAndUnknownTypesPostNothing)
{
    for (int type : {5, 6, 10, 12, 15, 16, 0, 17, 101, 103, 109, 115, 117}) {
        EXPECT_EQ(korv::event_post({.type = type, .window = 0}), PostOutcome::ignored) << type;
    }
    int type = -1;
    EventRecord record;
    EXPECT_FALSE(wait(type, record, [] { korv::event_post({.type = 10, .window = 101}); }));
}

TEST_F(EventStore, FieldVariantsAreHandedOutAsBaseType)
{
    int type = 0;
    EventRecord record;
    ASSERT_TRUE(wait(type, record, [] {
        korv::event_post({.type = 104, .window = 101, .first = 1, .second = 2, .source = 1,
                          .field = 1005, .x = 3, .y = 4, .time = 9});
    }));
    EXPECT_EQ(type, 4);
    EXPECT_EQ(record.slot(1), 101);
    EXPECT_EQ(record.slot(5), 1005);
    EXPECT_EQ(record.slot(4), 1);
}

TEST_F(EventStore, ExposeAfterResizeIsDropped)
{
    int type = 0;
    EventRecord record;
    ASSERT_TRUE(wait(type, record, [] {
        korv::event_post(resize(0, 300, 200));
        EXPECT_EQ(korv::event_post(expose(0, 0, -1, 0, 0, 300, 200)), PostOutcome::ignored);
    }));
    EXPECT_EQ(type, 8);
    EXPECT_EQ(record.slot(2), 300);
    EXPECT_EQ(record.slot(3), 200);
}

TEST_F(EventStore, LaterPostReplacesWaitingOne)
{
    int type = 0;
    EventRecord record;
    ASSERT_TRUE(wait(type, record, [] {
        korv::event_post({.type = 2, .window = 0, .first = 40001});
        korv::event_post({.type = 9, .window = 3});
    }));
    EXPECT_EQ(type, 9);
    EXPECT_EQ(record.slot(1), 3);
}

TEST_F(EventStore, FieldChangesAreDeferredOneDeep)
{
    WEventTypeEnable(10, 1);
    int type = 0;
    EventRecord record;
    ASSERT_TRUE(wait(type, record, [] {
        EXPECT_EQ(korv::event_post(field_change(101, 0, 1001, 262145, 11)), PostOutcome::stored);
        EXPECT_EQ(korv::event_post(field_change(101, 1001, 1002, 11, 12)), PostOutcome::deferred);
        EXPECT_EQ(korv::event_post(field_change(101, 1002, 1003, 12, 13)), PostOutcome::deferred);
    }));
    EXPECT_EQ(type, 10);
    EXPECT_EQ(record.slot(1), 101);
    EXPECT_EQ(record.slot(2), 0);
    EXPECT_EQ(record.slot(3), 1001);
    EXPECT_EQ(record.slot(13), 262145);
    EXPECT_EQ(record.slot(14), 11);

    // The next wait takes the deferred one without pumping; the second of
    // the three was lost to the third.
    type = 0;
    bool pumped = false;
    ASSERT_TRUE(wait(type, record, [&] { pumped = true; }));
    EXPECT_FALSE(pumped);
    EXPECT_EQ(type, 10);
    EXPECT_EQ(record.slot(2), 1002);
    EXPECT_EQ(record.slot(3), 1003);
    EXPECT_EQ(record.slot(13), 12);
    EXPECT_EQ(record.slot(14), 13);
    EXPECT_EQ(record.slot(4), 0);
    EXPECT_EQ(record.slot(5), -1);
}

TEST_F(EventStore, FieldChangeAfterOtherEventIsDeferredToo)
{
    WEventTypeEnable(10, 1);
    int type = 0;
    EventRecord record;
    ASSERT_TRUE(wait(type, record, [] {
        korv::event_post({.type = 3, .window = 101, .first = 1, .second = 1001});
        korv::event_post(field_change(101, 1001, 1002, 5, 6));
    }));
    EXPECT_EQ(type, 3);
    ASSERT_TRUE(wait(type, record));
    EXPECT_EQ(type, 10);
    EXPECT_EQ(record.slot(3), 1002);
}

TEST_F(EventStore, FieldChangeOutsideWaitReplacesWholeEvent)
{
    // Outside the wait nothing is deferred; a field change after a key
    // must not leave the key's type with the field change's values.
    WEventTypeEnable(10, 1);
    korv::event_post({.type = 1, .window = 0, .first = 65});
    korv::event_post(field_change(101, 1, 2, 3, 4));
    EXPECT_EQ(korv::event_state().store.type, 10);
    EXPECT_EQ(korv::event_state().store.window, 101);
}

TEST_F(EventStore, GraphicsFieldExposeMakesWayAndComesNext)
{
    int type = 0;
    EventRecord record;
    ASSERT_TRUE(wait(type, record, [] {
        korv::event_post(expose(101, 1, 1005, 4, 4, 10, 10));
        korv::event_post(expose(0, 0, -1, 1, 2, 30, 40));
    }));
    EXPECT_EQ(type, 7);
    EXPECT_EQ(record.slot(1), 0);
    EXPECT_EQ(record.slot(13), 1);
    EXPECT_EQ(record.slot(2), 30);
    ASSERT_TRUE(wait(type, record));
    EXPECT_EQ(type, 7);
    EXPECT_EQ(record.slot(1), 101);
    EXPECT_EQ(record.slot(4), 1);
    EXPECT_EQ(record.slot(5), 1005);
    EXPECT_EQ(record.slot(2), 0);
    EXPECT_EQ(record.slot(13), 0);
}

TEST_F(EventStore, HiddenOrMinimisedResizeIsNotPosted)
{
    int type = 0;
    EventRecord record;
    EventPost minimised = resize(0, 0, 0);
    minimised.minimised = true;
    EXPECT_FALSE(wait(type, record, [&] {
        EXPECT_EQ(korv::event_post(resize(0, 50, 60, false)), PostOutcome::hidden_resize);
        EXPECT_EQ(korv::event_post(minimised), PostOutcome::ignored);
    }));

    // A hidden resize after a posted event leaves that event whole.
    ASSERT_TRUE(wait(type, record, [] {
        korv::event_post({.type = 2, .window = 0, .first = 40001, .second = -1});
        korv::event_post(resize(0, 50, 60, false));
    }));
    EXPECT_EQ(type, 2);
    EXPECT_EQ(record.slot(2), 40001);
    EXPECT_EQ(record.slot(3), -1);
}

TEST_F(EventStore, PostsOutsideTheWaitAreCleared)
{
    korv::event_post({.type = 9, .window = 0});
    int type = 0;
    EventRecord record;
    EXPECT_FALSE(wait(type, record));
}

TEST_F(EventStore, PendingRecordsComeFirstInWindowOrder)
{
    auto& pending = korv::event_state().pending;
    pending[korv::pending_field_changed] = {10, 1, 2, 0, -1, 7, 8, 101, 55};
    pending[3] = {8, 320, 240, 0, -1, -1, -1, 3, 44};
    pending[0] = {7, 10, 10, 0, -1, 5, 5, 0, 33};
    pending[7] = {7, 10, 10, 0, -1, 5, 5, 7, 33};  // window without a client: skipped

    struct Expect {
        int type, window, first, second, x, y, time;
    };
    const Expect order[] = {
        {7, 0, 640, 480, 0, 0, 33},      // expose: the whole client area
        {8, 3, 320, 240, -1, -1, 44},
        {10, 101, 1, 2, 7, 8, 55},
    };
    for (const Expect& e : order) {
        int type = 0;
        EventRecord record;
        bool pumped = false;
        ASSERT_TRUE(wait(type, record, [&] { pumped = true; }));
        EXPECT_FALSE(pumped);
        EXPECT_EQ(type, e.type);
        EXPECT_EQ(record.slot(1), e.window);
        EXPECT_EQ(record.slot(2), e.first);
        EXPECT_EQ(record.slot(3), e.second);
        EXPECT_EQ(record.slot(13), e.x);
        EXPECT_EQ(record.slot(14), e.y);
        EXPECT_EQ(record.slot(12), e.time);
        EXPECT_EQ(korv::event_state().in_pump, 0);
    }
    EXPECT_EQ(pending[7].type, 7);
}

TEST_F(EventStore, KeptCopyOfPostedExposeWidensOrStays)
{
    auto& pending = korv::event_state().pending;
    int type = 0;
    EventRecord record;
    // An expose kept beside the posted one: one whole-area expose.
    ASSERT_TRUE(wait(type, record, [&] {
        korv::event_post(expose(0, 0, -1, 5, 6, 7, 8));
        pending[0] = {7, 1, 1, 0, -1, 0, 0, 0, 5};
    }));
    EXPECT_EQ(record.slot(2), 640);
    EXPECT_EQ(record.slot(3), 480);
    EXPECT_EQ(record.slot(13), 0);
    EXPECT_EQ(pending[0].type, 0);

    // A kept resize is not covered by an expose: it comes with the next wait.
    ASSERT_TRUE(wait(type, record, [&] {
        pending[0] = {8, 100, 90, 0, -1, -1, -1, 0, 5};
        korv::event_post(expose(0, 0, -1, 5, 6, 7, 8));
    }));
    EXPECT_EQ(type, 7);
    EXPECT_EQ(record.slot(2), 7);
    ASSERT_TRUE(wait(type, record));
    EXPECT_EQ(type, 8);
    EXPECT_EQ(record.slot(2), 100);
}

TEST(EventRecordSlots, NumberedFromOne)
{
    EventRecord record;
    record.slot(1) = 11;
    record.slot(16) = 16;
    EXPECT_EQ(record.values[0], 11);
    EXPECT_EQ(record.values[15], 16);
    EXPECT_THROW(record.slot(0), std::out_of_range);
    EXPECT_THROW(record.slot(17), std::out_of_range);
}

} // namespace
