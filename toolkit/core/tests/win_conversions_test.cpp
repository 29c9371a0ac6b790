#include "korvanthide/conversions.h"
#include "core/conversion_routines.h"

#include <windows.h>

#include <gtest/gtest.h>

TEST(LocaleDecimalSeparator, ReadsTheUserLocaleAndStoresTheFieldCopy)
{
    char expected[4] = {};
    ASSERT_GT(GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, expected, sizeof expected), 0);
    korv::conversion_state().field_decimal_separator = 0;
    char separator = 0;
    korv::sys_locale_decimal_separator(separator);
    EXPECT_EQ(separator, expected[0]);
    EXPECT_EQ(korv::conversion_state().field_decimal_separator, expected[0]);
}
