// Opens the scene editor modally over the main window; tests put a double in its place.
#pragma once

class QWidget;

namespace corvane {

class SceneTable;

class EditorLauncher {
  public:
    virtual ~EditorLauncher() = default;
    // Returns when the editor has been closed.
    virtual void showModal(QWidget* parent, SceneTable& scenes) = 0;
};

}  // namespace corvane
