// The main routine of the platform-free tests: hardcopy's platform-free
// services are registered first, as start-up does in a program. Nothing of
// the window layer is linked in.
#include <gtest/gtest.h>

#include "core/services/install.h"
#include "testing/trace_thread.h"

int main(int argc, char** argv)
{
    korv::toolkit_install_portable();
    testing::InitGoogleTest(&argc, argv);
    start_trace_thread();
    return RUN_ALL_TESTS();
}
