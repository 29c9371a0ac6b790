#include "grid/grid_cells.h"
#include "grid/grid_files.h"
#include "grid/grid_html.h"
#include "grid/tests/grid_test_grid.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

using namespace korv;
using namespace korv::testing;
namespace fs = std::filesystem;

namespace {

// Readers nobody here wrote: Debian's python3 (csv, html.parser) and tidy.
std::string run(const std::string& command, int* status = nullptr)
{
    std::string out;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return out;
    std::array<char, 4096> buffer;
    while (std::size_t n = std::fread(buffer.data(), 1, buffer.size(), pipe))
        out.append(buffer.data(), n);
    const int s = pclose(pipe);
    if (status)
        *status = WEXITSTATUS(s);
    return out;
}

std::string python(const std::string& script, const fs::path& file)
{
    const fs::path py = file.string() + ".py";
    std::ofstream(py) << script;
    return run("/usr/bin/python3 " + py.string() + " " + file.string());
}

std::string read_bytes(const fs::path& p)
{
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void write_bytes(const fs::path& p, const std::string& bytes) { std::ofstream(p, std::ios::binary) << bytes; }

// The values of every row as python's csv module reads them (latin-1).
constexpr const char* csv_dump = R"(import csv, sys
with open(sys.argv[1], newline='', encoding='latin-1') as f:
    for row in csv.reader(f):
        print('|'.join(row))
)";

class GridFiles : public ::testing::Test {
protected:
    GridFiles()
        : dir(fs::temp_directory_path() / ("korv_grid_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                                           "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name())),
          t(2, {text_column(), typed_column(GridCellType::integer), typed_column(GridCellType::double_precision),
                typed_column(GridCellType::check_box), typed_column(GridCellType::menu)})
    {
        fs::remove_all(dir);
        fs::create_directories(dir);
        GridModel& g = t.grid;
        g.columns[2].format = "(F8.2)";
        g.columns[4].items = {"Red", "Green"};
        grid_cell_put_value(g, 0, 0, 0, "a\"b", "");
        grid_cell_put_value(g, 1, 0, 42, "42", "");
        grid_cell_put_value(g, 2, 0, 2.5, "2.50", "(F8.2)");
        grid_cell_put_check(g, 3, 0, 1);
        grid_cell_put_menu(g, 4, 0, 2);
        grid_cell_put_menu(g, 4, 1, 0);
        take_error();
    }
    ~GridFiles() override
    {
        grid_file_commit_ops() = nullptr;
        fs::remove_all(dir);
    }
    std::string path(const char* name) const { return (dir / name).string(); }

    fs::path dir;
    TestGrid t;
};

constexpr std::string_view fixture_csv = "\"a\"\"b\",42,\"2.50\",Yes,\"Green\"\r\n\"\",,\"\",No,\r\n";

TEST_F(GridFiles, SavesByCellTypeAndLoadsItsOwnFileBack)
{
    const std::string file = path("data.csv");
    WGridSave(test_grid_id, file);
    EXPECT_EQ(take_error(), 0);
    EXPECT_EQ(read_bytes(file), fixture_csv);
    EXPECT_EQ(python(csv_dump, file), "a\"b|42|2.50|Yes|Green\n|||No|\n");

    grid_cells_clear_all(t.grid, false);
    WGridLoad(test_grid_id, file);
    EXPECT_EQ(take_error(), 10) << "the empty integer field reads as no number; nothing else is reported";
    WGridSave(test_grid_id, file);
    EXPECT_EQ(read_bytes(file), fixture_csv);
    EXPECT_EQ(grid_cell_menu(t.grid, 4, 1), 0) << "an empty menu field selects no item";

    WGridSave(test_grid_id, file, 2, 3, 2, 9, grid_csv_unquoted | grid_csv_undefined_values);
    EXPECT_EQ(read_bytes(file), "-999,-999.00\r\n");
}

TEST_F(GridFiles, ARoundTripThroughLibreOfficeKeepsTheValues)
{
    if (std::system("command -v soffice >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "no LibreOffice";
    const std::string file = path("round.csv");
    WGridSave(test_grid_id, file);
    // To a spreadsheet and back to comma-separated text (Windows-1252).
    const std::string profile = "-env:UserInstallation=file://" + dir.string() + "/lo";
    const std::string to_ods = "timeout 120 soffice " + profile + " --headless --convert-to ods --outdir " +
                               dir.string() + " " + file + " >/dev/null 2>&1";
    ASSERT_EQ(std::system(to_ods.c_str()), 0);
    fs::rename(file, path("original.csv"));
    const std::string to_csv = "timeout 120 soffice " + profile +
                               " --headless --convert-to 'csv:Text - txt - csv (StarCalc):44,34,1' --outdir " +
                               dir.string() + " " + path("round.ods") + " >/dev/null 2>&1";
    ASSERT_EQ(std::system(to_csv.c_str()), 0);
    grid_cells_clear_all(t.grid, false);
    WGridLoad(test_grid_id, file);
    EXPECT_NE(take_error(), 1054);
    EXPECT_EQ(t.text(0, 0), "a\"b");
    EXPECT_EQ(t.text(1, 0), "42");
    EXPECT_EQ(t.text(2, 0), "2.50");
    EXPECT_EQ(t.text(3, 0), "Yes");
    EXPECT_EQ(t.text(4, 0), "Green");
    EXPECT_EQ(t.text(3, 1), "No");
}

TEST_F(GridFiles, LoadsWhatPythonWritesAndSavesItBackForPython)
{
    constexpr const char* writer = R"(import csv, sys
rows = [['x,y', '7', '1.25', 'Yes', 'Red'], ['say "hi"', '-3', '', 'no', ''], ['caf\xe9', '', '3', 'YES', 'Green']]
for name, quoting, end in [('minimal', csv.QUOTE_MINIMAL, '\r\n'), ('all', csv.QUOTE_ALL, '\r\n'), ('lf', csv.QUOTE_MINIMAL, '\n')]:
    with open(sys.argv[1] + '.' + name, 'w', newline='', encoding='latin-1') as f:
        csv.writer(f, quoting=quoting, lineterminator=end).writerows(rows)
with open(sys.argv[1] + '.lf', 'rb+') as f:
    data = f.read().rstrip(b'\n')
    f.seek(0); f.truncate(); f.write(data)
)";
    const std::string base = path("py");
    python(writer, base);
    TestGrid wide(3, {text_column(), typed_column(GridCellType::integer), typed_column(GridCellType::double_precision),
                      typed_column(GridCellType::check_box), typed_column(GridCellType::menu)});
    GridModel& g = wide.grid;
    g.columns[2].format = "(F8.2)";
    g.columns[4].items = {"Red", "Green"};
    const std::string expected = "x,y|7|1.25|Yes|Red\nsay \"hi\"|-3||No|\ncaf\xe9||3.00|Yes|Green\n";
    for (const char* name : {"minimal", "all", "lf"}) {
        WGridLoad(test_grid_id, base + "." + name);
        EXPECT_NE(take_error(), 1054) << name;
        EXPECT_EQ(wide.text(0, 2), "caf\xe9") << name;
        EXPECT_EQ(wide.text(0, 1), "say \"hi\"") << name;
        EXPECT_EQ(wide.text(2, 1), "") << name;
        const std::string out = path("back.csv");
        WGridSave(test_grid_id, out);
        std::string values = python(csv_dump, out);
        // python reads latin-1 and prints UTF-8; compare in latin-1.
        const auto e = values.find("caf\xc3\xa9");
        ASSERT_NE(e, std::string::npos) << values;
        values.replace(e, 5, "caf\xe9");
        EXPECT_EQ(values, expected) << name;
    }
}

// A text cell holding a line break is saved inside quotes; it loads back
// as one field, so the rows after it keep their places.
TEST_F(GridFiles, LineBreaksInsideQuotedCellsRoundTripOverManyRows)
{
    constexpr int rows = 100000;
    TestGrid big(rows, {text_column(40), text_column(12), typed_column(GridCellType::integer)});
    GridModel& g = big.grid;
    const char* pieces[] = {"a,b", "say \"hi\"", "x;y", "caf\xe9 \xe0 \xfc", "line\r\nbreak", "lf\nonly",
                            "\"", ",\n,", "end\r", ""};
    std::vector<std::string> texts(rows);
    for (int r = 0; r < rows; ++r) {
        std::string& text = texts[static_cast<std::size_t>(r)];
        text = pieces[r % 10];
        text += pieces[(r / 10) % 10];
        text += std::to_string(r);
        grid_cell_put_value(g, 0, r, 0, text, "");
        grid_cell_put_value(g, 1, r, 0, pieces[(r / 7) % 10], "");
        grid_cell_put_value(g, 2, r, r, std::to_string(r), "");
    }
    const std::string file = path("breaks.csv");
    WGridSave(test_grid_id, file);
    EXPECT_EQ(take_error(), 0);
    grid_cells_clear_all(g, false);
    WGridLoad(test_grid_id, file);
    EXPECT_EQ(take_error(), 0) << "nothing past the grid's rows or columns";
    for (int r = 0; r < rows; ++r) {
        ASSERT_EQ(g.columns[0].text(r), texts[static_cast<std::size_t>(r)]) << r;
        ASSERT_EQ(g.columns[1].text(r), pieces[(r / 7) % 10]) << r;
        ASSERT_EQ(g.columns[2].int_value(r), r) << r;
    }

    // python's csv reads the same rows from the file.
    constexpr const char* check = R"(import csv, sys
with open(sys.argv[1], newline='', encoding='latin-1') as f:
    rows = list(csv.reader(f))
pieces = ['a,b', 'say "hi"', 'x;y', 'caf\xe9 \xe0 \xfc', 'line\r\nbreak', 'lf\nonly', '"', ',\n,', 'end\r', '']
bad = [r for r in range(100000) if rows[r] != [pieces[r % 10] + pieces[(r // 10) % 10] + str(r), pieces[(r // 7) % 10], str(r)]]
print(len(rows), len(bad))
)";
    EXPECT_EQ(python(check, file), "100000 0\n");
}

TEST_F(GridFiles, AFileWithLineBreaksThatPythonWritesLoadsRowByRow)
{
    constexpr const char* writer = R"(import csv, sys
rows = [['one\ntwo', '1'], ['plain', '2'], ['a "q"\r\nb', '3']]
with open(sys.argv[1] + '.csv', 'w', newline='', encoding='latin-1') as f:
    csv.writer(f, lineterminator='\r\n').writerows(rows)
)";
    const std::string base = path("py_breaks");
    python(writer, base);
    TestGrid small(3, {text_column(), typed_column(GridCellType::integer)});
    WGridLoad(test_grid_id, base + ".csv");
    EXPECT_EQ(take_error(), 0);
    EXPECT_EQ(small.text(0, 0), "one\ntwo");
    EXPECT_EQ(small.text(0, 1), "plain");
    EXPECT_EQ(small.text(0, 2), "a \"q\"\r\nb");
    for (int r = 0; r < 3; ++r)
        EXPECT_EQ(small.grid.columns[1].int_value(r), r + 1);
}

// A number wider than its column's display format would be saved as
// asterisks and load as an empty cell; it is saved in the shortest text
// that reads back as the same value.
TEST_F(GridFiles, NumbersTooWideForTheirFormatKeepTheirValue)
{
    TestGrid wide(4, {typed_column(GridCellType::double_precision), typed_column(GridCellType::real)});
    GridModel& g = wide.grid;
    g.columns[0].format = "(F8.2)";
    g.columns[1].format = "(F6.1)";
    const double doubles[] = {123456789.0, 2.5, -1.0e300, 0.1};
    const float reals[] = {1234567.0f, 3.5f, 3.0e38f, -98765.4f};
    for (int r = 0; r < 4; ++r) {
        grid_cell_put_value(g, 0, r, doubles[r], "x", "(F8.2)");
        grid_cell_put_value(g, 1, r, reals[r], "x", "(F6.1)");
    }
    const std::string file = path("wide.csv");
    WGridSave(test_grid_id, file);
    EXPECT_EQ(take_error(), 0) << "a number saved in full reports nothing";
    const std::string bytes = read_bytes(file);
    EXPECT_EQ(bytes.find('*'), std::string::npos) << bytes;
    EXPECT_NE(bytes.find("\"2.50\""), std::string::npos) << "numbers that fit keep their display text";
    grid_cells_clear_all(g, false);
    WGridLoad(test_grid_id, file);
    for (int r = 0; r < 4; ++r) {
        EXPECT_EQ(g.columns[0].double_value(r), doubles[r]) << r;
        EXPECT_EQ(g.columns[1].real_value(r), reals[r]) << r;
        EXPECT_TRUE(g.columns[0].flags(r) & grid_cell_holds_value) << r;
    }
}

TEST_F(GridFiles, LongFieldsLoadWholeAndAreCutToTheirColumn)
{
    TestGrid big(2, {text_column(100000), text_column(20)});
    const std::string file = path("long.csv");
    const std::string first(64995, 'a');
    const std::string hundred_k(100000, 'b');
    write_bytes(file, first + ",hello world\r\n" + hundred_k + "," + hundred_k + "\r\n");
    WGridLoad(test_grid_id, file);
    EXPECT_EQ(take_error(), 0);
    EXPECT_EQ(big.text(0, 0), first);
    EXPECT_EQ(big.text(1, 0), "hello world") << "the field across byte 65,000";
    EXPECT_EQ(big.text(0, 1), hundred_k);
    EXPECT_EQ(big.text(1, 1), std::string(20, 'b'));
}

TEST_F(GridFiles, AFileWithAZeroByteChangesNothing)
{
    TestGrid g(8, {text_column(), text_column()});
    grid_cell_put_value(g.grid, 0, 0, 0, "keep", "");
    g.grid.rows_in_use = 6;
    std::string bytes;
    for (int line = 1; line <= 8; ++line)
        bytes += line == 7 ? std::string("x,\0y\r\n", 6) : "x,y\r\n";
    const std::string file = path("nul.csv");
    write_bytes(file, bytes);
    WGridLoad(test_grid_id, file);
    EXPECT_EQ(take_error(), 2);
    EXPECT_EQ(g.text(0, 0), "keep");
    EXPECT_EQ(g.grid.rows_in_use, 6);

    WGridLoad(test_grid_id, path("missing.csv"));
    EXPECT_EQ(take_error(), 1);
}

TEST_F(GridFiles, ExtraFieldsAndExtraLinesAreReportedOnceAtTheEnd)
{
    TestGrid g(6, {text_column(), typed_column(GridCellType::integer)});
    g.grid.rows_in_use = 4;
    const std::string file = path("extra.csv");
    write_bytes(file, "a,1\r\nb,2\r\nc,3\r\nd,4,surplus\r\ne,5\r\nf,6\r\n");
    WGridLoad(test_grid_id, file);
    EXPECT_EQ(take_error(), 1054);
    EXPECT_EQ(g.text(0, 3), "d") << "the line with the surplus field loads its columns";
    EXPECT_EQ(g.grid.rows_in_use, 4);

    write_bytes(file, "a,1\r\nb,2\r\n\"c, and more\",3\r\nd,4\r\ne,5\r\nf,6\r\ng,7\r\n");
    WGridLoad(test_grid_id, file, 1);
    EXPECT_EQ(take_error(), 1054) << "grown to the rows created, the seventh line is one too many";
    EXPECT_EQ(g.grid.rows_in_use, 6);
    EXPECT_EQ(g.text(0, 2), "c, and more");
    EXPECT_EQ(g.text(1, 5), "6");

    write_bytes(file, "x\r\n");
    WGridLoad(test_grid_id, file);
    EXPECT_EQ(take_error(), 0);
    EXPECT_EQ(g.text(0, 5), "") << "rows the file does not fill are emptied";
    EXPECT_EQ(g.grid.rows_in_use, 6);

    g.grid.columns[1].minimum = 0;
    g.grid.columns[1].maximum = 5;
    grid_cell_put_value(g.grid, 1, 1, 3, "3", "");
    write_bytes(file, "a,1\nb,9\nc,2\n");
    WGridLoad(test_grid_id, file);
    EXPECT_EQ(take_error(), 1009);
    EXPECT_EQ(g.text(1, 1), "3") << "out of range: the cell keeps its content";
    EXPECT_EQ(g.text(1, 2), "2");
}

TEST_F(GridFiles, AFailedSaveLeavesTheOldFileAndNoNewOne)
{
    const std::string file = path("data.csv");
    write_bytes(file, "old bytes\r\n");
    // The disk fills after ten bytes.
    FileCommitOps full = platform_file_commit_ops();
    full.write_new = [](const std::string& name, std::string_view bytes) {
        platform_file_commit_ops().write_new(name, bytes.substr(0, 10));
        return CommitResult{CommitStatus::cannot_write, 28};
    };
    grid_file_commit_ops() = &full;
    WGridSave(test_grid_id, file);
    EXPECT_EQ(take_error(), 2);
    grid_file_commit_ops() = nullptr;
    EXPECT_EQ(read_bytes(file), "old bytes\r\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator{}), 1);

    fs::create_directory(dir / "target");
    WGridSave(test_grid_id, path("target"));
    EXPECT_EQ(take_error(), 1) << "a directory cannot be replaced";
    EXPECT_TRUE(fs::is_directory(dir / "target"));

    ASSERT_TRUE(grid_save_csv(t.grid, file, {0, 0, 0, 0}, 0, true, "WGridSave"));
    EXPECT_EQ(read_bytes(file + ".bak"), "old bytes\r\n");
    EXPECT_EQ(read_bytes(file), "\"a\"\"b\"\r\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator{}), 3);
}

TEST_F(GridFiles, HtmlPageLinesAsWritten)
{
    TestGrid one(1, {text_column()}, grid_style_column_headings);
    one.grid.set_column_heading(1, "Name");
    grid_cell_put_value(one.grid, 0, 0, 0, "Ann", "");
    const std::string file = path("one.html");
    WGridSaveHTML(test_grid_id, file, {}, {}, {}, {}, 0, "Test  ", 2);
    EXPECT_EQ(take_error(), 0);
    EXPECT_EQ(read_bytes(file), "<html>\r\n<head>\r\n<title>Test</title>\r\n</head>\r\n<body>\r\n<h2>Test</h2>\r\n"
                                "<table border=2 cellpadding=5>\r\n<tr>\r\n<th align=center>\r\nName\r\n</th>\r\n"
                                "</tr>\r\n<tr>\r\n<td align=left>\r\nAnn\r\n</td>\r\n</tr>\r\n</table>\r\n"
                                "</body>\r\n</html>\r\n");

    WGridSaveHTML(test_grid_id, file, {}, {}, {}, {}, grid_html_table_only | grid_html_centred, "  ", -3, 33023);
    const std::string table = read_bytes(file);
    EXPECT_EQ(table.substr(0, 42), "<center>\r\n<table border=0 cellpadding=5>\r\n");
    EXPECT_EQ(table.substr(table.size() - 21), "</table>\r\n</center>\r\n");
    WGridSaveHTML(test_grid_id, file, {}, {}, {}, {}, 0, {}, {}, 33023);
    EXPECT_NE(read_bytes(file).find("<body bgcolor=#ff8000>\r\n"), std::string::npos);
}

TEST_F(GridFiles, HtmlOfTheFullFixtureParsesBackWithEveryCell)
{
    GridModel& g = t.grid;
    g.style |= grid_style_row_headings | grid_style_column_headings;
    ASSERT_TRUE(grid_allocate(g, 2, {text_column(), typed_column(GridCellType::integer),
                                     typed_column(GridCellType::double_precision), typed_column(GridCellType::check_box),
                                     typed_column(GridCellType::menu)}));
    g.columns[2].format = "(F8.2)";
    g.columns[2].alignment = 2;
    g.columns[4].items = {"Red", "Green"};
    const char* headings[] = {"", "Text", "Int", "Real", "Tick", "Colour"};
    for (int i = 0; i < 6; ++i)
        g.set_column_heading(i, headings[i]);
    g.set_row_heading(0, "First");
    grid_cell_put_value(g, 0, 0, 0, "Ann & <i>Bob</i>", "");
    grid_cell_put_value(g, 1, 0, 42, "42", "");
    grid_cell_put_value(g, 2, 1, 2.5, "2.5", "(F8.2)");
    grid_cell_put_check(g, 3, 0, 1);
    grid_cell_put_menu(g, 4, 1, 2);
    grid_cell_colours_store(g, 1, 0, {0, 0, 255}, {255, 255, 0});
    const std::string file = path("full.html");
    WGridSaveHTML(test_grid_id, file, {}, {}, {}, {}, grid_html_check_letters, "Fixture");
    constexpr const char* cells = R"(import sys
from html.parser import HTMLParser
class Cells(HTMLParser):
    def __init__(self):
        super().__init__(); self.rows = []; self.cell = None
    def handle_starttag(self, tag, attrs):
        if tag == 'tr': self.rows.append([])
        if tag in ('td', 'th'): self.cell = ''
    def handle_endtag(self, tag):
        if tag in ('td', 'th'): self.rows[-1].append(self.cell.strip()); self.cell = None
    def handle_data(self, data):
        if self.cell is not None: self.cell += data
p = Cells(); p.feed(open(sys.argv[1], encoding='latin-1').read())
for row in p.rows: print('|'.join(row))
)";
    // Empty cells are written as a no-break space, which the dump strips.
    EXPECT_EQ(python(cells, file), "|Text|Int|Real|Tick|Colour\n"
                                   "First|Ann & Bob|42||Y|Red\n"
                                   "|||2.50|N|Green\n");
    const std::string html = read_bytes(file);
    EXPECT_NE(html.find("<td align=left bgcolor=#ffff00>\r\n<font color=#0000ff>\r\n42\r\n</font>\r\n</td>"),
              std::string::npos);
    int status = 0;
    run("tidy -q -e " + file + " 2>/dev/null", &status);
    EXPECT_LT(status, 2);
}

} // namespace
