// One-line questions on QInputDialog.
#include "ui/main/qt_text_prompt.h"

#include <QInputDialog>
#include <QLineEdit>
#include <QTimer>

namespace corvane {

std::optional<QString> QtTextPrompt::ask(const TextQuestion& question) {
    QInputDialog dialog(parent_);
    dialog.setWindowTitle(question.title);
    dialog.setLabelText(question.label);
    dialog.setTextValue(question.text);
    // The dialog selects the line as it shows it; typing would then replace a start such as
    // "rfc2217://" meant to be typed after.
    QTimer::singleShot(0, &dialog, [&dialog] {
        if (auto* line = dialog.findChild<QLineEdit*>()) {
            line->deselect();
            line->end(false);
        }
    });
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.textValue();
}

}  // namespace corvane
