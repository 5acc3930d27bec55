// Message boxes on QMessageBox.
#include "ui/main/qt_message_box.h"

#include <QGridLayout>
#include <QLabel>
#include <QMessageBox>
#include <QSpacerItem>
#include <algorithm>

namespace corvane {
namespace {

// Characters in the widest line of details: wide enough for a sentence, narrow enough to read at
// a glance.
constexpr int kWidestDetailsChars = 64;

// QMessageBox takes its width from the main text, so details under a short text would wrap every
// few words; a spacer in their column, as wide as their longest line (up to a limit), widens it.
void widenForDetails(QMessageBox& box, const QString& details) {
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    const auto* label = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_informativelabel"));
    const int at = grid != nullptr && label != nullptr ? grid->indexOf(label) : -1;
    if (at < 0) return;
    int row = 0;
    int column = 0;
    int rows = 0;
    int columns = 0;
    grid->getItemPosition(at, &row, &column, &rows, &columns);
    const QFontMetrics metrics = label->fontMetrics();
    int widest = 0;
    for (const QString& line : details.split(QLatin1Char('\n')))
        widest = std::max(widest, metrics.horizontalAdvance(line));
    widest = std::min(widest, kWidestDetailsChars * metrics.averageCharWidth());
    grid->addItem(new QSpacerItem(widest, 0, QSizePolicy::Minimum, QSizePolicy::Minimum),
                  grid->rowCount(), column, 1, columns);
}

}  // namespace

void QtMessageBox::prepare(QMessageBox& box, const Message& message) {
    box.setText(message.text);
    box.setWindowTitle(message.title);
    // Below the text, as the box's informative text.
    if (!message.informativeText.isEmpty()) box.setInformativeText(message.informativeText);
    switch (message.icon) {
        case MessageIcon::None:
            box.setIcon(QMessageBox::NoIcon);
            break;
        case MessageIcon::Information:
            box.setIcon(QMessageBox::Information);
            break;
        case MessageIcon::Question:
            box.setIcon(QMessageBox::Question);
            break;
        case MessageIcon::Warning:
            box.setIcon(QMessageBox::Warning);
            break;
        case MessageIcon::Critical:
            box.setIcon(QMessageBox::Critical);
            break;
    }
    if (message.buttons == MessageButtons::YesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(message.defaultButton == MessageAnswer::No ? QMessageBox::No
                                                                        : QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::No);
    } else {
        box.setStandardButtons(QMessageBox::Ok);
    }
    if (!message.informativeText.isEmpty()) widenForDetails(box, message.informativeText);
}

MessageAnswer QtMessageBox::show(const Message& message) {
    QMessageBox box(parent_);
    prepare(box, message);
    const int pressed = box.exec();
    if (message.buttons == MessageButtons::YesNo)
        return pressed == QMessageBox::Yes ? MessageAnswer::Yes : MessageAnswer::No;
    return MessageAnswer::Ok;
}

}  // namespace corvane
