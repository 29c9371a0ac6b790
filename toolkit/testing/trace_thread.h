// googletest starts a helper thread at a thread's first scoped trace. Wine 8
// brings the whole process down when it ends while such a thread is still
// starting, so every test program starts it at once, long before it ends.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

inline void start_trace_thread()
{
    {
        SCOPED_TRACE("start-up");
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
}
