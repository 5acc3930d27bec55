// The scene table as CSV.
#include "cli/scene_csv.h"

#include <charconv>
#include <optional>
#include <vector>

#include "document/fields.h"
#include "document/scene_names.h"

namespace corvane {
namespace {

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

std::optional<int> wholeNumber(std::string_view s) {
    int value = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
    if (s.empty() || ec != std::errc() || end != s.data() + s.size()) return std::nullopt;
    return value;
}

std::string where(size_t line, size_t column) {
    return "line " + std::to_string(line) + ", column " + std::to_string(column) + ": ";
}

}  // namespace

std::string WriteSceneCsv(const SceneTable& table) {
    std::string out = "Scene";
    for (int d = 0; d < kDimmerCount; ++d) out += "," + DimmerName(d);
    out += "\n";
    for (int s = 0; s < kSceneCount; ++s) {
        out += std::to_string(s + 1);
        for (int d = 0; d < kDimmerCount; ++d) out += "," + std::to_string(table(s, d));
        out += "\n";
    }
    return out;
}

bool ReadSceneCsv(std::string_view text, SceneTable& table, std::string* error) {
    auto fail = [&](std::string message) {
        if (error != nullptr) *error = std::move(message);
        return false;
    };
    // A spreadsheet saving "Unicode text" writes UTF-16: a byte-order mark, or a NUL beside every
    // character of the header.
    const bool utf16Mark = text.size() >= 2 && ((text[0] == '\xFF' && text[1] == '\xFE') ||
                                                (text[0] == '\xFE' && text[1] == '\xFF'));
    if (utf16Mark || text.substr(0, 64).find('\0') != std::string_view::npos)
        return fail("it is UTF-16; save it as UTF-8");
    // A spreadsheet's "CSV UTF-8" starts with a byte-order mark.
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);

    std::vector<std::string_view> lines = SplitFields(text, '\n');
    while (!lines.empty() && trimmed(lines.back()).empty()) lines.pop_back();

    constexpr size_t kColumns = 1 + kDimmerCount;
    if (lines.empty())
        return fail("line 1: the file is empty; expected a header row and 64 scene rows");
    // Where the decimal mark is a comma, spreadsheets put semicolons between fields.
    const char separator =
        lines[0].find(',') == std::string_view::npos && lines[0].find(';') != std::string_view::npos
            ? ';'
            : ',';
    const std::vector<std::string_view> header = SplitFields(lines[0], separator);
    if (header.size() != kColumns)
        return fail("line 1: the header has " + std::to_string(header.size()) +
                    " columns; expected " + std::to_string(kColumns) + " (Scene and 64 dimmers)");
    for (size_t c = 1; c < kColumns; ++c) {
        const std::string expected = DimmerName(static_cast<int>(c - 1));
        if (trimmed(header[c]) != expected)
            return fail(where(1, c + 1) + "expected the header \"" + expected + "\", found \"" +
                        std::string(trimmed(header[c])) + "\"");
    }

    SceneTable read;
    const size_t rows = lines.size() - 1;
    for (size_t row = 0; row < rows && row < kSceneCount; ++row) {
        const int s = static_cast<int>(row);
        const size_t lineNo = row + 2;
        const std::string_view line = lines[row + 1];
        if (trimmed(line).empty())
            return fail("line " + std::to_string(lineNo) +
                        ": the line is blank; expected the row of scene " + std::to_string(s + 1));
        const std::vector<std::string_view> fields = SplitFields(line, separator);
        if (fields.size() != kColumns)
            return fail("line " + std::to_string(lineNo) + ": " + std::to_string(fields.size()) +
                        " columns; expected " + std::to_string(kColumns));
        const std::optional<int> scene = wholeNumber(trimmed(fields[0]));
        if (!scene || *scene != s + 1)
            return fail(where(lineNo, 1) + "expected scene number " + std::to_string(s + 1) +
                        ", found \"" + std::string(trimmed(fields[0])) + "\"");
        for (int d = 0; d < kDimmerCount; ++d) {
            const std::string_view field = trimmed(fields[static_cast<size_t>(d) + 1]);
            const std::optional<int> level = wholeNumber(field);
            if (!level || *level < 0 || *level > 255)
                return fail(where(lineNo, static_cast<size_t>(d) + 2) + "\"" + std::string(field) +
                            "\" is not a level from 0 to 255 (" + DimmerName(d) + ")");
            read(s, d) = static_cast<int16_t>(*level);
        }
    }
    if (rows != kSceneCount)
        return fail("line " + std::to_string(rows < kSceneCount ? rows + 2 : 2 + kSceneCount) +
                    ": expected exactly 64 scene rows after the header, found " +
                    std::to_string(rows));
    table = read;
    return true;
}

}  // namespace corvane
