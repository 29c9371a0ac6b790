// The main routine of the platform-free tests: hardcopy's platform-free
// services are registered first, as start-up does in a program. Nothing of
// the window layer is linked in.
#include <gtest/gtest.h>

#include "core/services/install.h"

int main(int argc, char** argv)
{
    korv::toolkit_install_portable();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
