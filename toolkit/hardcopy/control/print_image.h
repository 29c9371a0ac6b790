// Printing a rectangle of the current drawing as one image stretched over a
// page of the default printer, and the names of the printer in use. No
// routine of the toolkit calls them; programs may.
#pragma once

#include <span>
#include <string>

struct tagBITMAPINFOHEADER;

namespace korv {

// Starts a document of one page on the default printer (lengths in points).
// error becomes 1 when the printer or the document cannot be started.
void hc_print_image_start(int page_width, int page_height, int x_offset, int y_offset, int& error, int landscape,
                          int copies, const std::string& document);
// Copies the rectangle (pixels of the current drawing context, corners
// included) onto the whole page; error 64 when it cannot be transferred.
void hc_print_image_transfer(int x1, int y1, int x2, int y2, int& error);
// Ends the page and the document.
void hc_print_image_end();

// Bytes of the colour table that follows a bitmap header of `header_size`
// bytes with these bit and used-colour counts.
int hc_dib_colour_table_size(int header_size, int bit_count, unsigned used_colours);

// which 4: the printer's device name, 5: its port; cut to the text's length.
void hc_printer_name_query(int which, std::span<char> text);

} // namespace korv
