// Calls that come before the toolkit starts: the records they read are
// those of a toolkit not yet started, so they refuse as they would with
// nothing selected or made, and start-up then sets up the same records.
#include "korvanthide/bitmaps.h"
#include "korvanthide/dialogs.h"
#include "korvanthide/errors.h"
#include "korvanthide/grid.h"
#include "korvanthide/startup.h"
#include "testing/report_capture.h"

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <string>
#include <vector>

namespace {

struct EarlyCall {
    const char* report;
    std::function<void()> call;
};

TEST(BeforeStartUp, CallsGetTheErrorsOfNothingSelected)
{
    ASSERT_NE(korv::toolkit_state().startup_marker, -9999);
    int value = 5;
    const std::array<std::int32_t, 4> pixels{};
    const std::vector<EarlyCall> calls = {
        {"Routine:WDialogGetInteger Error=1005:No dialog currently selected", [&] { WDialogGetInteger(101, value); }},
        {"Routine:WGridRows Error=1005:No dialog currently selected", [] { WGridRows(101, 4); }},
        {"Routine:WBitmapGetData Error=1021:Invalid bitmap handle", [&] { WBitmapGetData(1, pixels); }},
    };
    for (const EarlyCall& c : calls) {
        std::vector<std::string> lines;
        {
            korv::testing::ReportCapture capture(lines);
            c.call();
        }
        EXPECT_EQ(lines.size(), 1u) << c.report;
        EXPECT_TRUE(korv::testing::reported(lines, c.report)) << c.report;
    }
    EXPECT_EQ(value, 5);
}

TEST(BeforeStartUp, StartUpSetsUpTheRecordsTheEarlyCallsRead)
{
    std::vector<std::string> lines;
    {
        korv::testing::ReportCapture capture(lines);
        WDialogSelect(101);
    }
    ASSERT_NE(korv::error_state().last_error, 0);
    WToolkitStart();
    EXPECT_EQ(korv::toolkit_state().startup_marker, -9999);
    EXPECT_EQ(korv::toolkit_state().undefined_integer, -999);
    EXPECT_EQ(korv::error_state().last_error, 0);
    EXPECT_EQ(korv::dialog_result_state().current_dialog, 0);
}

} // namespace
