// The scene editor: one scene's 64 levels as percentages in a grid, a scene list, and a level
// chooser shown over the level label the technician clicks.
#pragma once

#include <QDialog>
#include <array>
#include <cstdint>

#include "document/scene_table.h"

class QComboBox;
class QPushButton;

namespace corvane {

class DimmerLabel;
class SceneHistory;

class frmCVSceneToolEdit : public QDialog {
    Q_OBJECT

  public:
    // Works on the one table in place: a chosen level is stored at once.
    explicit frmCVSceneToolEdit(SceneTable& scenes, QWidget* parent = nullptr);
    // Over the table's history: each chosen level is one step, and Ctrl+Z and Ctrl+Shift+Z
    // undo and redo the steps without a control of their own.
    explicit frmCVSceneToolEdit(SceneHistory& history, QWidget* parent = nullptr);
    ~frmCVSceneToolEdit() override;

    // Level captions of the selected scene, from the table.
    void ShowScene();
    // Closes the level chooser: hides it and shows every level label.
    void AllVisible();

    // Handlers, one per control event.
    void lblDimLvl_Click(int16_t Index);
    void cboLevel_Click();
    void cboScene_Click();
    void lblDimNum_Click(int16_t Index);
    void Form_Click();
    void cmdClose_Click();

    // Controls, for the handlers and for tests that read what the user sees.
    QPushButton* cmdClose = nullptr;
    QComboBox* cboScene = nullptr;
    std::array<DimmerLabel*, kDimmerCount> lblDimNum{};
    std::array<DimmerLabel*, kDimmerCount> lblDimLvl{};
    QComboBox* cboLevel = nullptr;

  protected:
    void showEvent(QShowEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void buildControls();
    void Form_Load();
    void connectControls();
    void connectHistory();
    // The selected scene, or -1 while the scene list is being refilled.
    int selectedScene() const;

    SceneTable& Scenes;
    SceneHistory* history_ = nullptr;  // none: a chosen level goes straight into the table
    int16_t iCurDim = 0;               // the dimmer the level chooser edits
    bool centred_ = false;
    bool backgroundPressed_ = false;
};

}  // namespace corvane
