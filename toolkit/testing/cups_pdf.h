// The PDF that the test machine's PDF printer queue (cups-pdf) writes for a
// print job, for tests that print through Windows to the default printer.
#pragma once

#include <string>

// The full name of the finished PDF whose file name holds `title` (the
// document name the job was started with), or "" when none is complete
// within a minute.
std::string printed_pdf(const std::string& title);
