// One-line questions on QInputDialog.
#pragma once

#include "document/text_prompt.h"

class QWidget;

namespace corvane {

class QtTextPrompt final : public TextPrompt {
  public:
    explicit QtTextPrompt(QWidget* parent = nullptr) : parent_(parent) {}
    std::optional<QString> ask(const TextQuestion& question) override;

  private:
    QWidget* parent_;
};

}  // namespace corvane
