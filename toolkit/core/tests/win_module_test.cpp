#include "core/win_module.h"

#include <gtest/gtest.h>

TEST(WinModule, InstanceIsTheRunningProgram)
{
    char path[MAX_PATH] = {};
    ASSERT_GT(GetModuleFileNameA(korv::module_instance(), path, MAX_PATH), 0u);
    EXPECT_NE(std::string(path).find(".exe"), std::string::npos);
}
