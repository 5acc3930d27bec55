// The CSV form of a scene table: its exact shape, a round trip, and the first problem named by
// line and column.
#include "cli/scene_csv.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace corvane {
namespace {

std::string Replace(std::string text, const std::string& from, const std::string& to) {
    const size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return text.replace(at, from.size(), to);
}

std::string ReplaceAll(std::string text, const std::string& from, const std::string& to) {
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

TEST(SceneCsv, HasAHeaderOfDimmerNamesAndARowPerScene) {
    const std::string csv =
        WriteSceneCsv(SceneTable::with({{0, 0, 255}, {0, 63, 1}, {63, 1, 128}}));
    const std::string header = csv.substr(0, csv.find('\n'));
    EXPECT_EQ(header.substr(0, 30), "Scene,Dimmer 01.1,Dimmer 01.2,");
    EXPECT_EQ(header.substr(header.size() - 12), ",Dimmer 10.4");
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 65);
    const size_t row1 = csv.find('\n') + 1;
    EXPECT_EQ(csv.substr(row1, 8), "1,255,0,");
    EXPECT_NE(csv.find("\n64,0,128,0,"), std::string::npos);
}

TEST(SceneCsv, AcceptsWindowsLineEndsAndSpaces) {
    std::string csv = WriteSceneCsv(SceneTable::with({{1, 2, 3}}));
    std::string crlf;
    for (char c : csv) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    crlf = Replace(crlf, "\r\n2,0,0,3,", "\r\n2, 0,0,3 ,");
    SceneTable back;
    std::string error;
    ASSERT_TRUE(ReadSceneCsv(crlf, back, &error)) << error;
    EXPECT_EQ(back(1, 2), 3);
}

TEST(SceneCsv, ReadsWhatSpreadsheetsSave) {
    const SceneTable t = SceneTable::with({{0, 0, 255}, {9, 3, 7}, {63, 63, 1}});
    const std::string commas = WriteSceneCsv(t);
    std::string semicolons = commas;
    std::replace(semicolons.begin(), semicolons.end(), ',', ';');
    const std::string lastRow = commas.substr(0, commas.size() - 1);  // no line end after it
    // RFC 4180 as spreadsheets write it: every field quoted; CRLF; empty columns right of the
    // table, blank rows and rows of separators; quoted empty fields.
    for (const std::string& text :
         {semicolons, "\xEF\xBB\xBF" + commas, lastRow,
          "\"" + ReplaceAll(ReplaceAll(lastRow, ",", "\",\""), "\n", "\"\r\n\"") + "\"\r\n",
          ReplaceAll(commas, "\n", ",,\n") + std::string(70, ',') + "\r\n",
          ReplaceAll(semicolons, "\n5;", "\n\n \n;;\n5;") + "\n\n",
          ReplaceAll(commas, "\n", ", \"\" ,\"\"\n")}) {
        SceneTable back;
        std::string error;
        ASSERT_TRUE(ReadSceneCsv(text, back, &error)) << error;
        EXPECT_EQ(back, t);
    }
}

TEST(SceneCsv, NamesTheLineAndColumnOfTheFirstProblem) {
    const std::string good = WriteSceneCsv(SceneTable{});
    struct Case {
        std::string text;
        std::string error;
    };
    const std::vector<Case> cases = {
        {"", "line 1: the file is empty"},
        {Replace(good, "Dimmer 01.2", "Dimmer 1.2"),
         "line 1, column 3: expected the header \"Dimmer 01.2\""},
        {Replace(good, ",Dimmer 10.4\n", "\n"), "line 1: the header has 64 columns; expected 65"},
        {Replace(good, "\n3,0,0,0,", "\n3,0,256,0,"),
         "line 4, column 3: \"256\" is not a level from 0 to 255 (Dimmer 01.2)"},
        {Replace(good, "\n3,0,0,0,", "\n3,0,-1,0,"), "line 4, column 3: \"-1\" is not a level"},
        {Replace(good, "\n3,0,0,0,", "\n3,0,x,0,"), "line 4, column 3: \"x\" is not a level"},
        {Replace(good, "\n3,0,0,0,", "\n3,0,1.5,0,"), "line 4, column 3: \"1.5\" is not a level"},
        {Replace(good, "\n3,0,0,0,", "\n3,0,,0,"), "line 4, column 3: \"\" is not a level"},
        {Replace(good, "\n3,0,0,0,", "\n4,0,0,0,"), "line 4, column 1: expected scene number 3"},
        {Replace(good, "\n3,0,0,0,", "\n3,0,0,"), "line 4: 64 columns; expected 65"},
        {good.substr(0, good.rfind("64,")),
         "expected exactly 64 scene rows after the header, found 63"},
        {good + "65" + std::string(64, ',') + "\n",
         "line 66: expected exactly 64 scene rows after the header, found 65"},
        {Replace(good, "\n3,0,0,0,", "\n3,0,1\"2,0,"), "line 4, column 3: a quote is out of place"},
        {good + "\"1,2\n", "line 66: a quote is out of place (a quoted field is not closed"},
        // A field over two lines is named by the line it starts on; the next row by its own.
        {Replace(Replace(good, "\n3,0,", "\n3,\"0\r\n\","), "\n4,0,", "\n5,0,"),
         "line 6, column 1: expected scene number 4"},
        {Replace(good, "\n3,0,0,0,", "\n3,0,\"\"\"12\"\"\",0,"),
         "line 4, column 3: \"\"12\"\" is not a level"},
        {std::string(8192, '\0'),
         "it is a scene file, not CSV; export turns a scene file into CSV"},
        {std::string("Scene\0,", 7), "it is not text: it holds NUL bytes"},
        {std::string("\xFF\xFES\0c\0", 6), "it is UTF-16; save it as UTF-8"},
        {std::string("S\0c\0e\0n\0e\0", 10), "it is UTF-16; save it as UTF-8"},
    };
    for (const Case& c : cases) {
        SceneTable t = SceneTable::with({{0, 0, 77}});
        std::string error;
        EXPECT_FALSE(ReadSceneCsv(c.text, t, &error)) << c.error;
        EXPECT_NE(error.find(c.error), std::string::npos)
            << "got: " << error << "\nwanted: " << c.error;
        EXPECT_EQ(t(0, 0), 77) << "table changed by a rejected import";
    }
}

}  // namespace
}  // namespace corvane
