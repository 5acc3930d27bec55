// One-line questions on QInputDialog.
#include "ui/main/qt_text_prompt.h"

#include <QEvent>
#include <QInputDialog>
#include <QLineEdit>

namespace corvane {
namespace {

// The dialog selects its line as it shows; typing would then replace a start such as
// "rfc2217://" that is meant to be typed after. When the line takes the focus, the cursor goes to
// its end instead.
class CursorAtEnd final : public QObject {
  public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::FocusIn) static_cast<QLineEdit*>(watched)->end(false);
        return false;
    }
};

}  // namespace

std::optional<QString> QtTextPrompt::ask(const TextQuestion& question) {
    QInputDialog dialog(parent_);
    dialog.setWindowTitle(question.title);
    dialog.setLabelText(question.label);
    dialog.setTextValue(question.text);
    CursorAtEnd cursorAtEnd;
    if (auto* line = dialog.findChild<QLineEdit*>()) line->installEventFilter(&cursorAtEnd);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.textValue();
}

}  // namespace corvane
