// The CSV import on any text: it never crashes; what it accepts exports and imports back to the
// same table; what it refuses leaves the table untouched and names a line of the text (or says it
// is UTF-16).
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "cli/scene_csv.h"
#include "document/scene_table.h"
#include "fuzz/rules.h"

namespace {

using corvane::SceneTable;
using corvane::fuzz::Require;

// Levels no CSV import may produce, so that any change shows. Worked out once.
const SceneTable& Sentinel() {
    static const SceneTable table = [] {
        SceneTable t;
        for (size_t i = 0; i < t.storage().size(); ++i)
            t.storage()[i] = static_cast<int16_t>(-1 - static_cast<int>(i));
        return t;
    }();
    return table;
}

// Reads the decimal number at text[at...], moving at past it; nothing if no digit is there.
std::optional<unsigned long> NumberAt(std::string_view text, size_t& at) {
    const size_t start = at;
    unsigned long value = 0;
    while (at < text.size() && text[at] >= '0' && text[at] <= '9' && at - start < 9)
        value = value * 10 + static_cast<unsigned long>(text[at++] - '0');
    if (at == start) return std::nullopt;
    return value;
}

// A refusal reads "line L: why" or "line L, column C: why"; a text of UTF-16, a scene file or
// other bytes that are not text, which have no lines to name, are refused as a whole, and only a
// text with a NUL near its start or UTF-16's byte-order mark is.
void CheckRefusal(std::string_view text, const SceneTable& table, std::string_view error) {
    Require(table == Sentinel(), "a refused import leaves the table untouched");
    const bool nul = text.substr(0, 64).find('\0') != std::string_view::npos;
    if (error == "it is UTF-16; save it as UTF-8") {
        const bool mark = text.starts_with("\xFF\xFE") || text.starts_with("\xFE\xFF");
        Require(mark || nul, "only UTF-16 is refused as UTF-16");
        return;
    }
    if (error.starts_with("it is a scene file, not CSV") ||
        error == "it is not text: it holds NUL bytes") {
        Require(nul, "only a text with NULs is refused as a scene file or as not text");
        return;
    }
    Require(error.starts_with("line "), "a refusal starts by naming the line");
    size_t at = 5;
    const std::optional<unsigned long> line = NumberAt(error, at);
    Require(line.has_value(), "a refusal names the line by number");
    // The line is one of the text's, or the one just after its last.
    const size_t lines = static_cast<size_t>(std::count(text.begin(), text.end(), '\n')) + 1;
    Require(*line >= 1 && *line <= lines + 1, "the line named is in the text or just after it");
    if (error.substr(at).starts_with(", column ")) {
        at += 9;
        const std::optional<unsigned long> column = NumberAt(error, at);
        Require(column.has_value() && *column >= 1 && *column <= 1 + corvane::kDimmerCount,
                "the column named is one of the 65");
    }
    Require(error.substr(at).starts_with(": ") && error.size() > at + 2,
            "a refusal says what is wrong after the place");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    SceneTable table = Sentinel();
    std::string error;
    if (!corvane::ReadSceneCsv(text, table, &error)) {
        CheckRefusal(text, table, error);
        return 0;
    }
    for (const int16_t level : table.storage())
        Require(level >= 0 && level <= 255, "every imported level is 0 to 255");
    const std::string exported = corvane::WriteSceneCsv(table);
    SceneTable again = Sentinel();
    std::string againError;
    Require(corvane::ReadSceneCsv(exported, again, &againError), "an export imports");
    Require(again == table, "an export imports to the same table");
    Require(corvane::WriteSceneCsv(again) == exported, "the export of the same table is the same");
    return 0;
}
