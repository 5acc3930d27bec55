// A one-line question answered from a script (Cancel once it is used up), recording each asked.
#pragma once

#include <deque>
#include <vector>

#include "document/text_prompt.h"

namespace corvane::testing_support {

struct ScriptedTextPrompt final : TextPrompt {
    std::deque<std::optional<QString>> answers;
    std::vector<TextQuestion> asked;
    std::optional<QString> ask(const TextQuestion& question) override {
        asked.push_back(question);
        if (answers.empty()) return std::nullopt;
        std::optional<QString> answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

}  // namespace corvane::testing_support
