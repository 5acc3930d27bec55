// A one-line question answered from a script, recording each question asked.
#pragma once

#include <deque>
#include <optional>
#include <vector>

#include "document/text_prompt.h"

namespace corvane::testing_support {

class ScriptedTextPrompt final : public TextPrompt {
  public:
    std::deque<std::optional<QString>> answers;  // once used up, Cancel
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
