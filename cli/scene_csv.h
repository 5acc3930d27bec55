// The scene table as CSV: a header row "Scene,Dimmer 01.1,...,Dimmer 10.4", then one row per
// scene, "1" to "64" followed by its 64 levels.
#pragma once

#include <string>
#include <string_view>

#include "document/scene_table.h"

namespace corvane {

std::string WriteSceneCsv(const SceneTable& table);

// Reads the text as RFC 4180 does (quoted fields, doubled quotes, CRLF), with commas or, where a
// spreadsheet writes them, semicolons between fields; blank rows, rows of separators and empty
// fields right of the 65 columns are ignored. Checks the shape and every value (whole numbers 0
// to 255); on the first problem leaves table untouched and puts "line L, column C: what is wrong"
// (or, for UTF-16, a scene file or other bytes that are not text, what it is) in *error.
bool ReadSceneCsv(std::string_view text, SceneTable& table, std::string* error);

}  // namespace corvane
