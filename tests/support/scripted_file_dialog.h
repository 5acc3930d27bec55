// A file dialog that records what it was given and returns scripted choices, without blocking.
#pragma once

#include <QString>
#include <deque>
#include <optional>
#include <vector>

#include "document/file_dialog.h"

namespace corvane::testing_support {

class ScriptedFileDialog final : public FileDialog {
  public:
    enum class Kind { Open, Save };
    struct Shown {
        Kind kind;
        QString fileName;  // the starting name
        QString filter;
        int flags;
    };

    // One entry per dialog shown: a chosen path, or nullopt for Cancel.
    std::deque<std::optional<QString>> choices;
    std::vector<Shown> shown;

    bool ShowOpen() override { return run(Kind::Open); }
    bool ShowSave() override { return run(Kind::Save); }

  private:
    bool run(Kind kind) {
        shown.push_back({kind, FileName, Filter, Flags});
        std::optional<QString> choice;
        if (!choices.empty()) {
            choice = choices.front();
            choices.pop_front();
        }
        if (!choice) return false;
        FileName = *choice;
        return true;
    }
};

}  // namespace corvane::testing_support
