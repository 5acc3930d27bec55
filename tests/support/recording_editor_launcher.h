// Stands in for the modal scene editor: counts openings and can change levels as an edit would.
#pragma once

#include <functional>

#include "document/scene_table.h"
#include "ui/main/editor_launcher.h"

namespace corvane::testing_support {

class RecordingEditorLauncher final : public EditorLauncher {
  public:
    int openings = 0;
    std::function<void(SceneTable&)> edit;

    void showModal(QWidget*, SceneTable& scenes) override {
        ++openings;
        if (edit) edit(scenes);
    }
};

}  // namespace corvane::testing_support
