// Pieces of the error reporter shared by its portable and Windows halves
// and by its tests.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace korv {

// Catalogue text of an error number; empty when the number has none.
std::string_view err_catalogue_text(int number);
std::size_t err_catalogue_size();
// zlib and MAPISendMail return-code texts; empty for unknown codes.
std::string_view err_compression_text(int code);
std::string_view err_mail_text(int code);

// Capacities of the reporter's fixed buffers.
inline constexpr std::size_t err_report_capacity = 300;
inline constexpr std::size_t err_detail_capacity = 512;

// One report, split the way the message box shows it.
struct ErrorReportText {
    std::string full;    // the whole text without trailing blanks
    std::string head;    // prefix and routine name: "Routine:WDialogLoad"
    std::string number;  // "Error=1007"
    std::string message; // catalogue text with its detail, trailing blanks cut
};

ErrorReportText err_report_text_build(int number, std::string_view routine);

} // namespace korv

namespace korv {

// Fills the Windows outputs of ErrorOutputs: the system's texts and the
// debug log. Every Windows program runs it before main (see
// win_errors_install.cpp).
void err_outputs_install_win();

} // namespace korv
