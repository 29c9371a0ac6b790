// Environment, registry, user name and system information.
#include "korvanthide/files.h"

#include <array>
#include <cstring>

#include "core/tests/win_osfiles_fixture.h"
#include "core/sys_files.h"

namespace {

using namespace osfiles_test;
using System = InTempDir;

TEST_F(System, VariablesIntoPaddedTexts)
{
    korv::sys_env_set("KORV_OSF_TEST", "abc");
    korv::sys_env_set("KORV_OSF_EMPTY", "");
    struct Case {
        std::string_view name;
        std::size_t width;
        std::string_view value;
        int error;
    };
    const Case cases[] = {
        {"KORV_OSF_TEST   ", 5, "abc  ", 0},
        {"KORV_OSF_TEST", 3, "abc", 0},
        {"KORV_OSF_TEST", 2, "  ", 1023},  // too long: blank and 1023
        {"KORV_OSF_EMPTY", 4, "    ", 0},
        {"KORV_OSF_UNSET", 4, "    ", 0},
    };
    for (const Case& c : cases) {
        korv::error_state() = korv::ErrorState{};
        std::string value(c.width, 'x');
        IOsVariable(c.name, value);
        EXPECT_EQ(value, c.value) << c.name << " in " << c.width;
        EXPECT_EQ(korv::error_state().last_error, c.error) << c.name << " in " << c.width;
    }
    int length = 0;
    std::array<char, 3> small{};
    korv::sys_env_get(length, "KORV_OSF_TEST", small);
    EXPECT_EQ(length, 4);  // needs more than the size less 1
}

TEST_F(System, RegistryValuesSetQueriedAndDeleted)
{
    constexpr std::uint32_t current_user = 0x80000001;
    const char* key = "Software\\KorvanthideOsfilesTest";
    const char text[] = "value";
    int result = -1;
    korv::sys_reg_value_set(current_user, REG_SZ, result, key, "name",
                            std::as_bytes(std::span(text, sizeof text)));
    ASSERT_EQ(result, 0);

    int type = 0, size = 0;
    korv::sys_reg_value_query(current_user, type, size, key, "name", {});
    EXPECT_EQ(type, REG_SZ);
    EXPECT_EQ(size, 6);
    std::array<std::byte, 16> data{};
    size = 16;
    korv::sys_reg_value_query(current_user, type, size, key, "name", data);
    EXPECT_EQ(size, 6);
    EXPECT_EQ(std::memcmp(data.data(), "value", 6), 0);
    // A size larger than the buffer given is bounded by the buffer.
    std::array<std::byte, 2> two{};
    size = 100;
    korv::sys_reg_value_query(current_user, type, size, key, "name", two);
    EXPECT_EQ(type, REG_SZ);
    EXPECT_EQ(size, 6);

    korv::sys_reg_value_query(current_user, type, size, key, "missing", data);
    EXPECT_EQ(type, -2);
    EXPECT_EQ(size, 0);
    type = 99;
    korv::sys_reg_value_query(current_user, type, size, "Software\\KorvNoSuchKey", "name", data);
    EXPECT_EQ(type, 99);  // the key did not open: nothing set

    korv::sys_reg_value_delete(current_user, result, key, "name");
    EXPECT_EQ(result, 0);
    korv::sys_reg_value_delete(current_user, result, "Software\\KorvNoSuchKey", "name");
    EXPECT_EQ(result, 2);
    korv::sys_reg_key_delete(current_user, result, key);
    EXPECT_EQ(result, 0);
}

TEST_F(System, UserNameAndSystemFacts)
{
    int code = -1, truncated = -1;
    std::array<char, 257> name{};
    korv::sys_user_name(code, truncated, name);
    EXPECT_EQ(code, 0);
    EXPECT_EQ(truncated, 0);
    const std::string full(name.data());
    ASSERT_FALSE(full.empty());
    std::array<char, 2> small{};
    korv::sys_user_name(code, truncated, small);
    EXPECT_EQ(truncated, full.size() > 1 ? 1 : 0);
    EXPECT_EQ(std::string(small.data()), full.substr(0, 1));

    int platform = 0, major = 0, minor = 0, measure = 0;
    korv::sys_os_platform(platform);
    EXPECT_EQ(platform, 4);
    korv::sys_os_version(major, minor);
    EXPECT_GE(major, 5);
    korv::sys_measurement_system(measure);
    EXPECT_TRUE(measure == 1 || measure == 2);

    int bytes = 0, megabytes = 0, type = 0;
    korv::sys_disk_free_bytes(bytes);
    korv::sys_disk_free_mb(megabytes);
    EXPECT_GT(bytes, 0);
    EXPECT_LE(bytes, 2147155968);
    EXPECT_GE(megabytes, bytes >> 20);
    korv::sys_drive_type(type, "C:\\");
    EXPECT_EQ(type, DRIVE_FIXED);

    int year = 0, month = 0, day = 0;
    korv::sys_date_get(year, month, day);
    EXPECT_GE(year, 2020);
    EXPECT_TRUE(month >= 1 && month <= 12);

    std::array<char, 8> text{};
    korv::sys_format_message(ERROR_FILE_NOT_FOUND, text);
    EXPECT_EQ(std::strlen(text.data()), 7u);  // cut and terminated
    EXPECT_FALSE(korv::sys_format_message(ERROR_FILE_NOT_FOUND).empty());

    EXPECT_NE(korv::sys_module_file_name().find("core_osfiles_win_test"), std::string::npos);
    EXPECT_NE(korv::sys_command_line().find("core_osfiles_win_test"), std::string::npos);
}

TEST_F(System, FindingTheProgramForADocument)
{
    int result = 0;
    std::array<char, 260> program{};
    korv::sys_find_executable(result, "no_such_document.txt", program);
    EXPECT_EQ(result, 1);
}

} // namespace
