// Reads the main dialog's template and extras block back from the program's
// own resources, as the dialog manager will.
#include <windows.h>

#include <cstdint>
#include <cstring>
#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace std::string_literals;

namespace {

struct ControlInfo {
    int id;
    std::string class_name;
    DWORD style;
    short x, y, cx, cy;
};

std::pair<const std::uint8_t*, DWORD> resource(LPCSTR type, int id)
{
    HRSRC found = FindResourceA(nullptr, MAKEINTRESOURCEA(id), type);
    if (!found)
        return {nullptr, 0};
    HGLOBAL loaded = LoadResource(nullptr, found);
    return {static_cast<const std::uint8_t*>(LockResource(loaded)), SizeofResource(nullptr, found)};
}

// Walks a DLGTEMPLATE: header, menu, class, title, font, then the items,
// each DWORD-aligned.
class TemplateReader {
public:
    explicit TemplateReader(const std::uint8_t* p) : base_(p), p_(p) {}
    template <class T> T take()
    {
        T v;
        std::memcpy(&v, p_, sizeof v);
        p_ += sizeof v;
        return v;
    }
    std::string take_sz_or_ordinal()
    {
        if (take<std::uint16_t>() == 0xFFFF) {
            std::string ordinal = "#";
            ordinal += std::to_string(take<std::uint16_t>());
            return ordinal;
        }
        p_ -= 2;
        std::string s;
        for (std::uint16_t c; (c = take<std::uint16_t>()) != 0;)
            s += static_cast<char>(c < 256 ? c : '?');
        return s;
    }
    void align() { p_ = base_ + ((p_ - base_ + 3) & ~3); }

private:
    const std::uint8_t* base_;
    const std::uint8_t* p_;
};

} // namespace

TEST(AppResources, MainDialogTemplate)
{
    auto [data, size] = resource(RT_DIALOG, 101);
    ASSERT_NE(data, nullptr);
    TemplateReader r(data);
    const auto style = r.take<DWORD>();
    EXPECT_EQ(r.take<DWORD>(), 0u) << "no extended styles";
    const auto count = r.take<std::uint16_t>();
    EXPECT_EQ(count, 98);
    EXPECT_EQ(r.take<short>(), 0);
    EXPECT_EQ(r.take<short>(), 0);
    EXPECT_EQ(r.take<short>(), 480);
    EXPECT_EQ(r.take<short>(), 295);
    EXPECT_EQ(style & (WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_3DLOOK | DS_SETFONT),
              DWORD(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_3DLOOK | DS_SETFONT));
    EXPECT_EQ(r.take_sz_or_ordinal(), "");
    EXPECT_EQ(r.take_sz_or_ordinal(), "");
    EXPECT_EQ(r.take_sz_or_ordinal(), "Chromalversor");
    EXPECT_EQ(r.take<std::uint16_t>(), 8);
    EXPECT_EQ(r.take_sz_or_ordinal(), "MS Sans Serif");

    std::vector<ControlInfo> controls;
    for (int i = 0; i < count; ++i) {
        r.align();
        ControlInfo c{};
        c.style = r.take<DWORD>();
        EXPECT_EQ(r.take<DWORD>(), 0u);
        c.x = r.take<short>();
        c.y = r.take<short>();
        c.cx = r.take<short>();
        c.cy = r.take<short>();
        c.id = r.take<std::uint16_t>();
        c.class_name = r.take_sz_or_ordinal();
        r.take_sz_or_ordinal();
        r.take<std::uint16_t>(); // creation data size
        controls.push_back(c);
    }
    ASSERT_EQ(controls.size(), 98u);
    EXPECT_EQ(controls.front().id, 1001);
    EXPECT_EQ(controls.front().class_name, "MSCTLS_TRACKBAR32");
    EXPECT_EQ(controls.back().id, 1097);
    for (const auto& c : controls)
        EXPECT_TRUE(c.style & WS_CHILD && c.style & WS_VISIBLE) << c.id;

    const auto find = [&](int id) {
        for (const auto& c : controls)
            if (c.id == id)
                return c;
        return ControlInfo{};
    };
    const auto ende = find(1);
    EXPECT_EQ(ende.style & 0xF, DWORD(BS_DEFPUSHBUTTON));
    EXPECT_EQ(ende.x, 425);
    EXPECT_EQ(find(1016).class_name, "INTEGERSPIN");
    EXPECT_EQ(find(1016).style & (ES_RIGHT | ES_MULTILINE | WS_BORDER | WS_TABSTOP),
              DWORD(ES_RIGHT | ES_MULTILINE | WS_BORDER | WS_TABSTOP));
    EXPECT_EQ(find(1021).class_name, "REALSPIN");
    EXPECT_EQ(find(1004).class_name, "COMBOBOX");
    EXPECT_FALSE(find(1070).style & WS_GROUP);
    EXPECT_EQ(find(1082).style & ES_UPPERCASE, DWORD(ES_UPPERCASE));
}

TEST(AppResources, ExtrasBlockIsLatin1WithTwoZeroBytes)
{
    auto [data, size] = resource(RT_RCDATA, 101);
    ASSERT_NE(data, nullptr);
    ASSERT_GT(size, 2u);
    const std::string text(reinterpret_cast<const char*>(data), size);
    EXPECT_EQ(text.substr(0, 39), "[Menus] \n 1004     1     1 \nwei\xDF \n 1019");
    EXPECT_EQ(text.substr(size - 13), "[Formats] \n\0\0"s);
    EXPECT_NE(text.find(" 1001               0             100 \n"), std::string::npos);
    EXPECT_NE(text.find(" 1032              30               1              10               0               0 \n"),
              std::string::npos);
    EXPECT_NE(text.find(" 1015 256 256 256 255 149 149 \n"), std::string::npos);
    // every line ends with a blank before its line feed
    for (std::size_t nl = text.find('\n'); nl != std::string::npos; nl = text.find('\n', nl + 1))
        EXPECT_EQ(text[nl - 1], ' ') << nl;
}

TEST(AppResources, IconGroupHasThreeSizes)
{
    for (int size : {16, 32, 48}) {
        HICON icon = static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), "ICON1", IMAGE_ICON, size, size, 0));
        EXPECT_NE(icon, nullptr) << size;
        if (icon)
            DestroyIcon(icon);
    }
}
