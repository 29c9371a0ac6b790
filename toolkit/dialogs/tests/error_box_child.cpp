// Reports an error in message-box mode; exit status 3 when the program went
// on after the box, 0 when Cancel ended it.
#include "korvanthide/common_dialogs.h"
#include "core/errors_text.h"
#include "korvanthide/errors.h"

int main()
{
    korv::cdlg_error_outputs_install();
    korv::error_state().report_mode = 4;
    korv::err_report(22, "IGrRectangle");
    return 3;
}
