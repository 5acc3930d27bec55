// What the main window knows about the document beside the table itself.
#pragma once

#include <QString>

namespace corvane {

inline const QString kNoFile = QStringLiteral("None");

struct DocumentState {
    bool Changed = false;  // the table may differ from what was last cleared, loaded or saved
    bool DialogInitDone = false;  // the file dialog has had its initial name
    QString CurrentFile = kNoFile;
};

}  // namespace corvane
