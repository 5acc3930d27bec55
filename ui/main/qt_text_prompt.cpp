// One-line questions on QInputDialog.
#include "ui/main/qt_text_prompt.h"

#include <QInputDialog>
#include <QLineEdit>

namespace corvane {

std::optional<QString> QtTextPrompt::ask(const TextQuestion& question) {
    bool ok = false;
    const QString text = QInputDialog::getText(parent_, question.title, question.label,
                                               QLineEdit::Normal, question.text, &ok);
    if (!ok) return std::nullopt;
    return text;
}

}  // namespace corvane
