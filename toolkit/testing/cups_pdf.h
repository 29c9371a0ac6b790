// The PDF that the test machine's PDF printer queue (cups-pdf) writes for a
// print job, for tests that print through Windows to the default printer.
#pragma once

#include <map>
#include <string>

namespace korv::testing {

// Made before the print call: remembers the PDFs the queue holds then, so
// that a file of an earlier job (even one of the same name, which cups-pdf
// overwrites) is never taken for this job's.
class PrintedPdfWatch {
public:
    PrintedPdfWatch();

    // The full name of the finished PDF whose file name holds `title` (the
    // document name the job was started with, "Untitled" for none) and that
    // was written after the watch began; "" when none is finished within
    // two minutes (scaled by KORV_TEST_TIME_FACTOR).
    std::string wait_for(const std::string& title) const;

private:
    std::map<std::string, unsigned long long> before_; // name -> last write time
};

} // namespace korv::testing
