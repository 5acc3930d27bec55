// A question the user answers by typing one line, under a title.
#pragma once

#include <QString>
#include <optional>

namespace corvane {

struct TextQuestion {
    QString title;
    QString label;  // what to type, above the line
    QString text;   // the line as it starts

    friend bool operator==(const TextQuestion&, const TextQuestion&) = default;
};

// Shows the question modally: the line typed, or nothing when the user cancels.
class TextPrompt {
  public:
    virtual ~TextPrompt() = default;
    virtual std::optional<QString> ask(const TextQuestion& question) = 0;
};

}  // namespace corvane
