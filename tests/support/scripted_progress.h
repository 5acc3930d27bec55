// A progress dialog that records what it was told and cancels when the test says.
#pragma once

#include <QString>
#include <QStringList>

#include "ui/main/progress_dialog.h"

namespace corvane::testing_support {

class ScriptedProgress final : public ProgressDialog {
  public:
    QStringList texts;      // every step's text, in order
    int cancelAtStep = -1;  // the step (counted from 0) at which Cancel is pressed
    int begun = 0;
    int ended = 0;

    void begin(const QString&, int) override { ++begun; }
    bool step(const QString& text, int) override {
        texts << text;
        return texts.size() - 1 != cancelAtStep;
    }
    void end() override { ++ended; }
};

}  // namespace corvane::testing_support
