// The scene table as CSV.
#include "cli/scene_csv.h"

#include <csv.h>

#include <algorithm>
#include <charconv>
#include <optional>
#include <vector>

#include "document/scene_file.h"
#include "document/scene_names.h"

namespace corvane {
namespace {

// A cell's spaces and line breaks around its value, which a quoted field keeps, are no part of it.
bool space(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}
std::string_view trimmed(std::string_view s) {
    while (!s.empty() && space(s.front())) s.remove_prefix(1);
    while (!s.empty() && space(s.back())) s.remove_suffix(1);
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

// One row of the text: its fields, and the line it starts on.
struct Record {
    size_t line = 0;
    std::vector<std::string> fields;
};

// The rows of a CSV as RFC 4180 reads them (quoted fields, doubled quotes, line breaks within
// quotes, CRLF), each with the line it starts on; rows that hold nothing but separators and
// spaces are left out. Fed one line at a time, so that the line being read is always known.
class RecordReader {
  public:
    explicit RecordReader(char separator) {
        csv_init(&parser_, CSV_STRICT | CSV_STRICT_FINI);
        csv_set_delim(&parser_, static_cast<unsigned char>(separator));
    }
    ~RecordReader() { csv_free(&parser_); }
    RecordReader(const RecordReader&) = delete;
    RecordReader& operator=(const RecordReader&) = delete;

    // The records of text, or false with "line L...: what is wrong" in *error.
    bool read(std::string_view text, std::vector<Record>& records, std::string* error) {
        records_ = &records;
        size_t start = 0;
        while (start < text.size()) {
            const size_t end = std::min(text.find('\n', start), text.size() - 1) + 1;
            const size_t length = end - start;
            if (csv_parse(&parser_, text.data() + start, length, field, endOfRecord, this) !=
                length) {
                // A column right of the table's 65 is no column a technician can find.
                const size_t column = current_.fields.size() + 1;
                *error = (column <= 1 + kDimmerCount ? where(line_, column)
                                                     : "line " + std::to_string(line_) + ": ") +
                         problem() + " (a quote within a field is written twice, inside quotes)";
                return false;
            }
            start = end;
            if (start < text.size()) ++line_;
        }
        if (csv_fini(&parser_, field, endOfRecord, this) != 0) {
            *error = "line " + std::to_string(line_) + ": " + problem() +
                     " (a quoted field is not closed at the end of the file)";
            return false;
        }
        return true;
    }

    // The line the last row ended on.
    size_t lastLine() const { return lastLine_; }

  private:
    std::string problem() {
        return csv_error(&parser_) == CSV_EPARSE ? "a quote is out of place"
                                                 : std::string(csv_strerror(csv_error(&parser_)));
    }

    static void field(void* data, size_t size, void* self) {
        auto& reader = *static_cast<RecordReader*>(self);
        const std::string_view value(static_cast<const char*>(data), data == nullptr ? 0 : size);
        if (reader.current_.fields.empty())
            reader.current_.line =
                reader.line_ - static_cast<size_t>(std::count(value.begin(), value.end(), '\n'));
        reader.current_.fields.emplace_back(value);
    }

    static void endOfRecord(int, void* self) {
        auto& reader = *static_cast<RecordReader*>(self);
        Record record = std::exchange(reader.current_, Record{});
        const bool blank = std::all_of(record.fields.begin(), record.fields.end(),
                                       [](const std::string& f) { return trimmed(f).empty(); });
        if (blank) return;
        reader.records_->push_back(std::move(record));
        reader.lastLine_ = reader.line_;
    }

    csv_parser parser_{};
    size_t line_ = 1;
    size_t lastLine_ = 0;
    Record current_;
    std::vector<Record>* records_ = nullptr;
};

// Spreadsheets save the empty columns right of the table as empty fields: those past the 65th
// are no column of the table.
void dropEmptyTail(std::vector<std::string>& fields, size_t columns) {
    while (fields.size() > columns && trimmed(fields.back()).empty()) fields.pop_back();
}

bool printable(char c) {
    return (c >= ' ' && c <= '~') || c == '\t' || c == '\r' || c == '\n';
}

// Whether the first bytes are text of UTF-16, little- or big-endian: a NUL beside each character.
bool looksLikeUtf16(std::string_view text) {
    const std::string_view start = text.substr(0, 64);
    if (start.size() < 2) return false;
    for (size_t nul : {size_t{0}, size_t{1}}) {
        bool matches = true;
        for (size_t i = 0; i + 1 < start.size() && matches; i += 2)
            matches = start[i + nul] == '\0' && printable(start[i + 1 - nul]);
        if (matches) return true;
    }
    return false;
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
    // character of the header. Any other text with NULs near its start is binary, most likely a
    // scene file given where its CSV was meant.
    const bool utf16Mark = text.size() >= 2 && ((text[0] == '\xFF' && text[1] == '\xFE') ||
                                                (text[0] == '\xFE' && text[1] == '\xFF'));
    if (utf16Mark) return fail("it is UTF-16; save it as UTF-8");
    if (text.substr(0, 64).find('\0') != std::string_view::npos) {
        if (text.size() != static_cast<size_t>(kSceneFileSize) && looksLikeUtf16(text))
            return fail("it is UTF-16; save it as UTF-8");
        if (text.size() >= static_cast<size_t>(kSceneFileSize))
            return fail("it is a scene file, not CSV; export turns a scene file into CSV");
        return fail("it is not text: it holds NUL bytes");
    }
    // A spreadsheet's "CSV UTF-8" starts with a byte-order mark.
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);

    // Where the decimal mark is a comma, spreadsheets put semicolons between fields: the first
    // line that holds anything tells.
    std::string_view first = text;
    while (!first.empty() && trimmed(first.substr(0, first.find('\n'))).empty())
        first.remove_prefix(std::min(first.find('\n'), first.size() - 1) + 1);
    first = first.substr(0, first.find('\n'));
    const char separator =
        first.find(',') == std::string_view::npos && first.find(';') != std::string_view::npos
            ? ';'
            : ',';
    std::vector<Record> records;
    RecordReader reader(separator);
    std::string problem;
    if (!reader.read(text, records, &problem)) return fail(problem);

    constexpr size_t kColumns = 1 + kDimmerCount;
    if (records.empty())
        return fail("line 1: the file is empty; expected a header row and 64 scene rows");
    for (Record& record : records) dropEmptyTail(record.fields, kColumns);
    const Record& header = records[0];
    if (header.fields.size() != kColumns)
        return fail("line " + std::to_string(header.line) + ": the header has " +
                    std::to_string(header.fields.size()) + " columns; expected " +
                    std::to_string(kColumns) + " (Scene and 64 dimmers)");
    for (size_t c = 1; c < kColumns; ++c) {
        const std::string expected = DimmerName(static_cast<int>(c - 1));
        const std::string_view found = trimmed(header.fields[c]);
        if (found != expected)
            return fail(where(header.line, c + 1) + "expected the header \"" + expected +
                        "\", found \"" + std::string(found) + "\"");
    }

    SceneTable read;
    const size_t rows = records.size() - 1;
    for (size_t row = 0; row < rows && row < kSceneCount; ++row) {
        const int s = static_cast<int>(row);
        const Record& record = records[row + 1];
        if (record.fields.size() != kColumns)
            return fail("line " + std::to_string(record.line) + ": " +
                        std::to_string(record.fields.size()) + " columns; expected " +
                        std::to_string(kColumns));
        const std::string_view number = trimmed(record.fields[0]);
        const std::optional<int> scene = wholeNumber(number);
        if (!scene || *scene != s + 1)
            return fail(where(record.line, 1) + "expected scene number " + std::to_string(s + 1) +
                        ", found \"" + std::string(number) + "\"");
        for (int d = 0; d < kDimmerCount; ++d) {
            const std::string_view field = trimmed(record.fields[static_cast<size_t>(d) + 1]);
            const std::optional<int> level = wholeNumber(field);
            if (!level || *level < 0 || *level > 255)
                return fail(where(record.line, static_cast<size_t>(d) + 2) + "\"" +
                            std::string(field) + "\" is not a level from 0 to 255 (" +
                            DimmerName(d) + ")");
            read(s, d) = static_cast<int16_t>(*level);
        }
    }
    if (rows != kSceneCount)
        return fail("line " +
                    std::to_string(rows < kSceneCount ? reader.lastLine() + 1
                                                      : records[1 + kSceneCount].line) +
                    ": expected exactly 64 scene rows after the header, found " +
                    std::to_string(rows));
    table = read;
    return true;
}

}  // namespace corvane
