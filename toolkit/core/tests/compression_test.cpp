// Compression round trips through a file, zlib's failures as error 1044, and
// the mail service's failure path (nothing is ever sent from here).
#include "korvanthide/compression.h"
#include "korvanthide/files.h"

#include <vector>

#include "core/tests/win_osfiles_fixture.h"
#include "core/compression_mail.h"

namespace {

using namespace osfiles_test;
using Compression = InTempDir;

std::vector<unsigned char> sample()
{
    std::vector<unsigned char> data;
    for (int i = 0; i < 5000; ++i)
        data.push_back(static_cast<unsigned char>((i * 7) % 23 + (i / 100)));
    return data;
}

TEST_F(Compression, RoundTripThroughAFile)
{
    const std::vector<unsigned char> original = sample();
    std::vector<unsigned char> packed(original.size() + 64);
    int packed_length = static_cast<int>(packed.size());
    WCompress(original, packed, static_cast<int>(original.size()), packed_length);
    ASSERT_GT(packed_length, 2);
    ASSERT_LT(packed_length, static_cast<int>(original.size()));
    EXPECT_EQ(korv::error_state().last_error, 0);

    int h = -1, n = 0;
    IFileOpen("packed.z", 1, h);
    ASSERT_NE(h, -1);
    IFileWriteChar(h, std::span<const unsigned char>(packed), packed_length, n);
    EXPECT_EQ(n, packed_length);
    IFileCloseHandle(h);
    const std::string file = read_whole("packed.z");
    ASSERT_GE(file.size(), 2u);
    EXPECT_EQ(static_cast<unsigned char>(file[0]), 0x78);
    EXPECT_EQ(static_cast<unsigned char>(file[1]), 0x9C);

    IFileOpen("packed.z", 0, h);
    ASSERT_NE(h, -1);
    int length = 0;
    IFileSeek(h, length, 2);
    EXPECT_EQ(length, packed_length);
    int start = 0;
    IFileSeek(h, start, 0);
    std::vector<unsigned char> read_back(static_cast<std::size_t>(length));
    IFileReadChar(h, std::span<unsigned char>(read_back), length, n);
    EXPECT_EQ(n, length);
    IFileCloseHandle(h);

    std::vector<unsigned char> restored(original.size());
    int restored_length = static_cast<int>(restored.size());
    WUnCompress(read_back, restored, n, restored_length);
    EXPECT_EQ(restored_length, static_cast<int>(original.size()));
    EXPECT_EQ(restored, original);
    EXPECT_EQ(korv::error_state().last_error, 0);
}

TEST_F(Compression, ZlibFailuresReport1044WithZlibsText)
{
    korv::err_report_mode_set(2);
    const std::vector<unsigned char> original = sample();
    std::vector<unsigned char> packed(16);
    struct Case {
        const char* routine;
        int capacity;
        int zlib_code;
        const char* detail;
    };
    const Case cases[] = {
        {"WCompress", 16, -5, "buffer error"},
        {"WCompress", 0, -5, "buffer error"},
        {"WCompress", 17, -2, "stream error"},  // more than the buffer holds
        {"WUnCompress", 16, -3, "data error"},  // not zlib data
    };
    for (const Case& c : cases) {
        korv::error_state().last_error = 0;
        int length = c.capacity;
        if (std::string_view(c.routine) == "WCompress")
            WCompress(original, packed, static_cast<int>(original.size()), length);
        else
            WUnCompress(original, packed, 100, length);
        EXPECT_EQ(length, 0) << c.routine << " " << c.capacity;
        EXPECT_EQ(korv::error_state().last_error, 1044);
        EXPECT_EQ(korv::error_state().other_code, c.zlib_code);
        const std::string line = std::string("Routine:") + c.routine +
                                 " Error=1044:Zlib compression/decompression error: " + c.detail;
        EXPECT_TRUE(log_ends_with(line)) << line;
    }
}

TEST_F(Compression, CharBuffersAndTheBridge)
{
    const std::string text(300, 'z');
    std::vector<char> packed(64);
    int packed_length = 64;
    WCompress(text, packed, 300, packed_length);
    ASSERT_GT(packed_length, 0);
    // A destination one byte short is zlib's buffer error, seen through the bridge.
    std::vector<unsigned char> out(299);
    int out_length = 299, result = 0;
    korv::sys_uncompress_bridge(
        std::span<const unsigned char>(reinterpret_cast<const unsigned char*>(packed.data()),
                                       static_cast<std::size_t>(packed_length)),
        out, packed_length, out_length, result);
    EXPECT_EQ(result, -5);
    std::string back(300, ' ');
    int back_length = 300;
    WUnCompress(packed, back, packed_length, back_length);
    EXPECT_EQ(back, text);
}

TEST_F(Compression, MailWithoutTheMailLibraryIsNotAvailable)
{
    korv::sys_mail_recipients_alloc(1);
    korv::sys_mail_recipient_address_set(0, "nobody@example.invalid");
    korv::sys_mail_recipient_class_set(5, 2);  // outside the table: ignored
    korv::sys_mail_attachments_alloc(1);
    korv::sys_mail_attachment_path_set(0, "C:\\nothing.txt");
    int result = 9, mail_result = 9;
    korv::sys_mail_send(korv::mail_resolve_names, result, mail_result, "subject", "text");
    EXPECT_EQ(result, -1);
    EXPECT_EQ(mail_result, 0);
}

} // namespace
