// Message boxes as the tool uses them: a text under a title, with buttons and an icon.
#pragma once

#include <QString>

#include "document/text_prompt.h"

namespace corvane {

enum class MessageButtons { Ok, YesNo };
enum class MessageIcon { None, Information, Question, Warning, Critical };
enum class MessageAnswer { Ok, Yes, No };

struct Message {
    QString text;
    QString title;
    MessageButtons buttons = MessageButtons::Ok;
    MessageIcon icon = MessageIcon::None;
    // With YesNo: the button that Enter presses.
    MessageAnswer defaultButton = MessageAnswer::Ok;
    // Shown below the text, in the same box: the details behind a short message.
    QString informativeText = {};

    friend bool operator==(const Message&, const Message&) = default;
};

// Shows a message modally and returns the button the user pressed.
class MessageBox {
  public:
    virtual ~MessageBox() = default;
    virtual MessageAnswer show(const Message& message) = 0;
};

// The texts the tool shows, kept in one place.
namespace messages {
inline const QString kErrorTitle = QStringLiteral("Error");
inline const QString kUploadError = QStringLiteral("Upload Error. Retry.");
inline const QString kDownloadError = QStringLiteral("Download Error. Retry.");
inline const QString kAppTitle = QStringLiteral("Ostrel Corvane");
inline const QString kDiscardChanges = QStringLiteral("Discard Any Changes?");
inline const QString kSendEmptyTable = QStringLiteral(
    "Send an empty table? Every level of all 64 scenes on the controller becomes 0%.");

// A block that failed after three attempts; details say where and what it met.
inline Message uploadError(const QString& details = {}) {
    return {kUploadError,      kErrorTitle,       MessageButtons::Ok,
            MessageIcon::None, MessageAnswer::Ok, details};
}
inline Message downloadError(const QString& details = {}) {
    return {kDownloadError,    kErrorTitle,       MessageButtons::Ok,
            MessageIcon::None, MessageAnswer::Ok, details};
}
inline Message discardChanges() {
    return {kDiscardChanges, kAppTitle, MessageButtons::YesNo, MessageIcon::Question,
            MessageAnswer::Yes};
}
// Send with a table that nothing has filled; No is the default, as the answer that loses nothing.
inline Message sendEmptyTable() {
    return {kSendEmptyTable, kAppTitle, MessageButtons::YesNo, MessageIcon::Question,
            MessageAnswer::No};
}
// A file opened with levels no controller holds (outside 0 to 255): most likely not a scene file.
// The command line says the same of such a file.
inline Message levelsOutOfRange(const QString& path, int count) {
    const QString levels =
        count == 1 ? QStringLiteral("1 level") : QStringLiteral("%1 levels").arg(count);
    return {QStringLiteral("%1 holds %2 outside 0 to 255, which no controller holds. Is it a "
                           "scene file?")
                .arg(path, levels),
            kAppTitle,
            MessageButtons::Ok,
            MessageIcon::Warning,
            MessageAnswer::Ok,
            QStringLiteral("The editor shows such a level as ?% and keeps it until you choose "
                           "another; Send refuses the table while one is left.")};
}
// What a search for controllers or a comparison found; details below the text.
inline Message information(const QString& text, const QString& details = {}) {
    return {text,   kAppTitle, MessageButtons::Ok, MessageIcon::Information, MessageAnswer::Ok,
            details};
}
// A port, file or level problem, in words a technician can act on.
inline Message problem(const QString& text, const QString& details = {}) {
    return {text,   kErrorTitle, MessageButtons::Ok, MessageIcon::Critical, MessageAnswer::Ok,
            details};
}

// The scene grid's refusals; cell names a cell as "Scene 03, Dimmer 01.2". Each says that
// nothing changed, since the table is left as it was.
inline Message notAPercent(const QString& cell, const QString& typed) {
    return problem(
        QStringLiteral("%1: \"%2\" is not a percent from 0 to 100. No level was changed.")
            .arg(cell, typed));
}
// row and column count from 1 within the pasted text.
inline Message pasteNotAPercent(int row, int column, const QString& cell, const QString& value) {
    return problem(QStringLiteral("Row %1, column %2 of the pasted text holds \"%3\" for %4, which "
                                  "is not a percent from 0 to 100. Nothing was pasted.")
                       .arg(row)
                       .arg(column)
                       .arg(value, cell));
}
inline Message pastePastEdge(int row, int column) {
    return problem(
        QStringLiteral("Row %1, column %2 of the pasted text falls past the table's edge "
                       "(Scene 64, Dimmer 10.4). Nothing was pasted.")
            .arg(row)
            .arg(column));
}
inline Message nothingToPaste() {
    return problem(QStringLiteral("The clipboard holds no text to paste."));
}

// Controller > Add Network Port...: the name of a serial line on a device server.
inline TextQuestion addNetworkPort(const QString& text = QStringLiteral("rfc2217://")) {
    return {QStringLiteral("Add Network Port"),
            QStringLiteral("The device server's port:\n"
                           "rfc2217://HOST:PORT (the tool sets the line), or\n"
                           "tcp://HOST:PORT (the server is set to 38400 8N1)."),
            text};
}
// A name typed there that is no network port; reason says what is wrong with it.
inline Message notANetworkPort(const QString& reason) {
    return problem(QStringLiteral("Could not add the network port: ") + reason + QLatin1Char('.'));
}
}  // namespace messages

}  // namespace corvane
