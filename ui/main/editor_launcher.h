// Opens the scene editor modally over the main window; tests put a double in its place.
#pragma once

class QWidget;

namespace corvane {

class SceneTable;
class SceneHistory;

class EditorLauncher {
  public:
    virtual ~EditorLauncher() = default;
    // Returns when the editor has been closed.
    virtual void showModal(QWidget* parent, SceneTable& scenes) = 0;
    // The same over the table's history: each level chosen is one step, and the editor undoes
    // and redoes them too. A launcher without it edits the table in place.
    virtual void showModalWithHistory(QWidget* parent, SceneHistory& history);
};

}  // namespace corvane
