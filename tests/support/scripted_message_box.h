// A message box that records every message shown and answers from a script, without blocking.
#pragma once

#include <deque>
#include <functional>
#include <ostream>
#include <vector>

#include "document/message_box.h"

namespace corvane {

// A message as the technician reads it, when a comparison fails.
inline void PrintTo(const Message& m, std::ostream* os) {
    *os << '"' << m.text.toStdString() << "\" titled \"" << m.title.toStdString() << "\", buttons "
        << static_cast<int>(m.buttons) << ", icon " << static_cast<int>(m.icon) << ", default "
        << static_cast<int>(m.defaultButton);
    if (!m.informativeText.isEmpty())
        *os << ", below: \"" << m.informativeText.toStdString() << '"';
}

}  // namespace corvane

namespace corvane::testing_support {

// The message without what is shown below its text, to compare with the fixed messages.
inline Message WithoutInformativeText(Message m) {
    m.informativeText.clear();
    return m;
}

class ScriptedMessageBox final : public MessageBox {
  public:
    // Answers given in order; once used up, Yes/No questions get Yes and the rest Ok.
    std::deque<MessageAnswer> answers;
    std::vector<Message> shown;
    // Runs while a message is up, e.g. to read the status label the user sees behind it.
    std::function<void(const Message&)> onShow;

    MessageAnswer show(const Message& message) override {
        shown.push_back(message);
        if (onShow) onShow(message);
        if (!answers.empty()) {
            const MessageAnswer a = answers.front();
            answers.pop_front();
            return a;
        }
        return message.buttons == MessageButtons::YesNo ? MessageAnswer::Yes : MessageAnswer::Ok;
    }
};

}  // namespace corvane::testing_support
