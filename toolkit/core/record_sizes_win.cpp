// Records the toolkit hands to the system (or lays out as the system's) have
// fixed sizes in the 32-bit program. Every build of the 32-bit tree checks
// them, also on machines that can only run the 64-bit tests.
#include <windows.h>

#include <commdlg.h>

#include "core/mail_tables.h"

#if !defined(_WIN64)
static_assert(sizeof(korv::MailRecipient) == 24, "a mail recipient is MapiRecipDesc's 24 bytes");
static_assert(sizeof(korv::MailAttachment) == 24, "a mail attachment is MapiFileDesc's 24 bytes");
static_assert(sizeof(PAGESETUPDLGA) == 84, "an editor page set-up record is 84 bytes");
static_assert(sizeof(MENUITEMINFOA) == 48, "the menu item size passed on current systems is 48");
static_assert(sizeof(POINT) == 8, "a point buffer holds 8 bytes a point");
static_assert(sizeof(void*) == 4 && sizeof(LONG_PTR) == 4, "window words hold 32-bit pointers");
#endif
