#include "hardcopy/control/printer_settings.h"

#include <gtest/gtest.h>

#include <string>

using namespace korv;

TEST(DeviceProfile, SplitsIntoDeviceDriverAndPort)
{
    struct Case {
        const char* value;
        bool ok;
        const char* device;
        const char* driver;
        const char* port;
    };
    const Case cases[] = {
        {"PDF,wineps.drv,CUPS:PDF", true, "PDF", "wineps.drv", "CUPS:PDF"},
        {"Laser 5,winspool, Ne01:", true, "Laser 5", "winspool", "Ne01:"},
        {"P,  drv,   port,extra", true, "P", "drv", "port,extra"},
        {"P,drv,", true, "P", "drv", ""},
        {"", false, "", "", ""},
        {"PrinterOnly", false, "", "", ""},
        {"Printer,driver", false, "", "", ""},
        {",drv,port", false, "", "", ""},
        {"  ,drv,port", false, "", "", ""},
    };
    for (const Case& c : cases) {
        PrinterNames names;
        EXPECT_EQ(parse_device_profile(c.value, names), c.ok) << c.value;
        if (!c.ok)
            continue;
        EXPECT_EQ(names.device, c.device) << c.value;
        EXPECT_EQ(names.driver, c.driver) << c.value;
        EXPECT_EQ(names.port, c.port) << c.value;
    }
}

TEST(DeviceProfile, NamesThatDoNotFitAreRefusedWhole)
{
    PrinterSelection selection;
    PrinterNames names{"PDF", "wineps.drv", "CUPS:PDF"};
    ASSERT_TRUE(store_printer_names(names, selection));
    EXPECT_STREQ(selection.device.data(), "PDF");
    EXPECT_STREQ(selection.driver.data(), "wineps.drv");
    EXPECT_STREQ(selection.port.data(), "CUPS:PDF");

    PrinterNames long_driver{"Other", std::string(32, 'd'), "LPT1:"};
    EXPECT_FALSE(store_printer_names(long_driver, selection));
    EXPECT_STREQ(selection.device.data(), "PDF");
    PrinterNames long_port{"Other", "drv", std::string(260, 'p')};
    EXPECT_FALSE(store_printer_names(long_port, selection));
    EXPECT_TRUE(store_printer_names({"Other", std::string(31, 'd'), std::string(259, 'p')}, selection));
}

TEST(PrinterPage, PaperSidesInPointsForBothUnits)
{
    struct Case {
        int size, flags, points;
    };
    const Case cases[] = {
        {8500, 4, 612}, {11000, 4, 792}, {21590, 0, 612}, {27940, 0, 792},
        {21000, 0, 595}, {29700, 0, 842}, {8268, 4, 595}, {11693, 4, 842},
        {8500, 4 | 2, 612}, {0, 4, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(paper_side_points(c.size, c.flags), c.points) << c.size << " flags " << c.flags;
}

TEST(PrinterPage, LandscapePageWithOneInchMargins)
{
    for (auto [w, h] : {std::pair{595, 842}, std::pair{842, 595}}) {
        const PrinterDefaults page = printer_page_defaults(w, h, 2);
        EXPECT_EQ(page.larger, 842);
        EXPECT_EQ(page.smaller, 595);
        EXPECT_EQ(page.width, 698);
        EXPECT_EQ(page.height, 451);
        EXPECT_EQ(page.x_offset, 72);
        EXPECT_EQ(page.y_offset, 72);
        EXPECT_EQ(page.orientation, 1);
        EXPECT_EQ(page.copies, 1);
        EXPECT_EQ(page.colours, 2);
        EXPECT_EQ(page.error, 0);
    }
}
