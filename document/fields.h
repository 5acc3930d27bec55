// Text cut into fields at a separator, as the CSV import and the simulator's fault texts read it.
#pragma once

#include <string_view>
#include <vector>

namespace corvane {

// "a,b,,c" at ',' gives "a", "b", "", "c"; an empty text gives one empty field.
inline std::vector<std::string_view> SplitFields(std::string_view text, char separator) {
    std::vector<std::string_view> fields;
    size_t start = 0;
    for (;;) {
        const size_t at = text.find(separator, start);
        fields.push_back(
            text.substr(start, at == std::string_view::npos ? std::string_view::npos : at - start));
        if (at == std::string_view::npos) return fields;
        start = at + 1;
    }
}

}  // namespace corvane
