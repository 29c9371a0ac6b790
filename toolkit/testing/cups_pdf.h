// The PDF that the test machine's PDF printer queue (cups-pdf) writes for a
// print job, for tests that print through Windows to the default printer.
#pragma once

#include <set>
#include <string>

// The full name of the finished PDF whose file name holds `title` (the
// document name the job was started with) and that is not among `earlier`,
// or "" when none is complete within a minute.
std::string printed_pdf(const std::string& title, const std::set<std::string>& earlier = {});

// The PDFs the queue holds now, for a title that earlier jobs had too.
std::set<std::string> printed_pdfs_now();
