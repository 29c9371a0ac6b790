// The user locale's decimal separator.
#include "korvanthide/conversions.h"
#include "core/conversion_routines.h"

#include <windows.h>

namespace korv {

void sys_locale_decimal_separator(char& separator)
{
    char buffer[4] = {};
    GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, buffer, sizeof buffer);
    separator = buffer[0];
    // Sign-extended, as the key filters compare it with a character code.
    conversion_state().field_decimal_separator = static_cast<signed char>(buffer[0]);
}

} // namespace korv
