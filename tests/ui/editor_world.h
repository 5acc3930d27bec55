// A scene editor on its own table, shown without blocking, and the clicks and choices a
// technician makes in it.
#pragma once

#include <gtest/gtest.h>

#include <QComboBox>
#include <QTest>
#include <memory>

#include "document/scene_table.h"
#include "tests/support/choose_entry.h"
#include "tests/support/qt_printers.h"
#include "ui/editor/dimmer_label.h"
#include "ui/editor/scene_editor_window.h"

namespace corvane::testing_support {

inline constexpr int kExposeDeadlineMs = 2000;

struct EditorWorld {
    SceneTable scenes;
    std::unique_ptr<frmCVSceneToolEdit> editor;

    explicit EditorWorld(const SceneTable& start = {}) : scenes(start) { open(); }

    // A fresh window, as every opening from the Edit menu builds one.
    void open() {
        editor = std::make_unique<frmCVSceneToolEdit>(scenes);
        editor->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(editor.get(), kExposeDeadlineMs));
    }

    void clickLevel(int d) { QTest::mouseClick(editor->lblDimLvl[d], Qt::LeftButton); }
    void clickName(int d) { QTest::mouseClick(editor->lblDimNum[d], Qt::LeftButton); }
    // A point of the window's own background: right of the scene list, above the grid.
    void clickBackground() { QTest::mouseClick(editor.get(), Qt::LeftButton, {}, QPoint(300, 20)); }
};

}  // namespace corvane::testing_support
