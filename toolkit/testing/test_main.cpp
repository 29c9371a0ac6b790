// The main routine of every test program: the plug-ins are registered
// first, as start-up does in a program.
#include <gtest/gtest.h>

#include "core/services/install.h"
#include "testing/trace_thread.h"

int main(int argc, char** argv)
{
    korv::toolkit_install();
    testing::InitGoogleTest(&argc, argv);
    start_trace_thread();
    return RUN_ALL_TESTS();
}
