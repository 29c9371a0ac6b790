#include "testing/report_capture.h"

namespace korv::testing {

ReportCapture::ReportCapture(std::vector<std::string>& lines)
    : saved_outputs_(error_outputs()), saved_mode_(error_state().report_mode)
{
    error_outputs().console_line = [&lines](std::string_view line) { lines.emplace_back(line); };
    error_state().report_mode = 1;
}

ReportCapture::~ReportCapture()
{
    error_outputs() = saved_outputs_;
    error_state().report_mode = saved_mode_;
}

bool reported(const std::vector<std::string>& lines, std::string_view text)
{
    for (const std::string& line : lines) {
        if (line.find(text) != std::string::npos)
            return true;
    }
    return false;
}

} // namespace korv::testing
