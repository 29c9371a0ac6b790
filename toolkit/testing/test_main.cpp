// The main routine of every test program: the plug-ins are registered
// first, as start-up does in a program.
#include <gtest/gtest.h>

#include "core/services/install.h"

int main(int argc, char** argv)
{
    korv::toolkit_install();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
