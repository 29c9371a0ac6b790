// Runs reports in a fresh process, so that the debug log is created as on
// a program's first report. Arguments: the report mode, then reports as
// number:routine:detail-category:file-code:other-code, value:name:n for one
// sys_debug_log_value line, box:n to answer every message box with n, and
// exit:n for the exit status when the program gets to its end.
#include "korvanthide/errors.h"
#include "core/errors_text.h"

#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    if (argc < 2)
        return 2;
    korv::err_report_mode_set(std::atoi(argv[1]));
    // The reporter alone: the window layer's message box (put in place in
    // every program) is replaced only by the "box:" answers below.
    korv::error_outputs().message_box = nullptr;
    int status = 0;
    for (int i = 2; i < argc; ++i) {
        std::vector<std::string> parts;
        std::istringstream in(argv[i]);
        for (std::string part; std::getline(in, part, ':');)
            parts.push_back(part);
        if (parts.size() == 3 && parts[0] == "value") {
            korv::sys_debug_log_value(parts[1].c_str(), std::atoi(parts[2].c_str()));
            continue;
        }
        if (parts.size() == 2 && parts[0] == "box") {
            const int answer = std::atoi(parts[1].c_str());
            korv::error_outputs().message_box = [answer](int, int, int, std::string_view,
                                                         std::string_view) { return answer; };
            continue;
        }
        if (parts.size() == 2 && parts[0] == "exit") {
            status = std::atoi(parts[1].c_str());
            continue;
        }
        if (parts.size() != 5)
            return 2;
        korv::ErrorState& st = korv::error_state();
        st.detail_category = std::atoi(parts[2].c_str());
        st.file_code = std::atoi(parts[3].c_str());
        st.other_code = std::atoi(parts[4].c_str());
        korv::err_report(std::atoi(parts[0].c_str()), parts[1]);
    }
    return status;
}
