// Drops the clicks, keys and close requests that reach the tool while a transfer holds its thread.
#pragma once

#include <QObject>

namespace corvane {

// A transfer does not return to the event loop, so input made meanwhile waits in the queue and
// would otherwise run when the transfer ends: a click on Send during a Get would start a Send the
// technician thought was ignored. While an InputDiscard is active every such event is dropped;
// ending it first delivers whatever queued up, so that is dropped too, and only then lets input
// through again. Paints, timers and other events pass untouched.
class InputDiscard final : public QObject {
  public:
    InputDiscard();
    ~InputDiscard() override;
    InputDiscard(const InputDiscard&) = delete;
    InputDiscard& operator=(const InputDiscard&) = delete;

    // Drops what has queued up and lets input through again; later calls do nothing. Call it
    // before anything that needs the technician's answer, such as a message box.
    void end();

    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    bool active_ = false;
};

}  // namespace corvane
