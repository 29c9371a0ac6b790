// The error reporter's console output caught for a test: while a capture
// lives, reports go to the console (report mode 1) and each line is kept
// instead of printed; the reporter's outputs and mode come back after it.
#pragma once

#include <string>
#include <vector>

#include "korvanthide/errors.h"

namespace korv::testing {

class ReportCapture {
public:
    // Appends each report line to `lines`, which must outlive the capture.
    explicit ReportCapture(std::vector<std::string>& lines);
    ~ReportCapture();
    ReportCapture(const ReportCapture&) = delete;
    ReportCapture& operator=(const ReportCapture&) = delete;

private:
    ErrorOutputs saved_outputs_;
    int saved_mode_;
};

// Whether some line holds `text`.
bool reported(const std::vector<std::string>& lines, std::string_view text);

} // namespace korv::testing
