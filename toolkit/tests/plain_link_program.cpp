// A program built by hand against the installed headers and the toolkit's
// libraries, with no build-system target: loading a dialog the program does
// not hold must reach the debug log in report mode 2.
#include "korvanthide/dialogs.h"
#include "korvanthide/errors.h"
#include "korvanthide/startup.h"

int main()
{
    WToolkitStart();
    korv::err_report_mode_set(2);
    WDialogLoad(999);
    return 0;
}
