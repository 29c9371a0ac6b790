// The page set-up of the toolkit's Windows printer: the dialog manager's
// page set-up on one block kept for the run, whose confirmed choice the
// Windows printer driver then prints with.
#pragma once

namespace korv {

// Units below 2 are thousandths of an inch, 2 and above hundredths of a
// millimetre. Page sides are outputs; printable sides, left and top
// margins, orientation (0 portrait, 1 landscape) and copies go in and out;
// colours gets the printer's colour count when it can be asked. answer 1
// when confirmed; otherwise nothing changes.
void cdlg_page_setup(int& page_width, int& page_height, int& printable_width, int& printable_height,
                     int& left, int& top, int& orientation, int& copies, int units, int& colours,
                     int& answer);

} // namespace korv
