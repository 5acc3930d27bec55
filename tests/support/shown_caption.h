// A menu caption as the menu bar draws it: a single '&' marks the letter that Alt opens it with
// and is not drawn, "&&" is drawn as one '&'.
#pragma once

#include <QAction>
#include <QString>

namespace corvane::testing_support {

inline QString ShownCaption(const QAction* action) {
    const QString text = action->text();
    QString shown;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('&') && i + 1 < text.size()) ++i;
        shown += text[i];
    }
    return shown;
}

}  // namespace corvane::testing_support
