// Picks an entry of a drop-down list as a technician does: opens its list and takes the entry
// with the keyboard.
#pragma once

#include <QAbstractItemView>
#include <QComboBox>
#include <QTest>

namespace corvane::testing_support {

inline void chooseEntry(QComboBox* combo, int entry) {
    combo->showPopup();
    QAbstractItemView* view = combo->view();
    view->setCurrentIndex(view->model()->index(entry, 0));
    QTest::keyClick(view, Qt::Key_Return);
}

}  // namespace corvane::testing_support
