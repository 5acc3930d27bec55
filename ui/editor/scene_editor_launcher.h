// Opens the scene editor window modally.
#pragma once

#include "ui/main/editor_launcher.h"

namespace corvane {

class SceneEditorLauncher final : public EditorLauncher {
  public:
    void showModal(QWidget* parent, SceneTable& scenes) override;
    void showModalWithHistory(QWidget* parent, SceneHistory& history) override;
};

}  // namespace corvane
