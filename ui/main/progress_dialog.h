// A modal progress dialog with a Cancel button, as the window shows it while it looks for a
// controller; tests put a scripted one in its place.
#pragma once

#include <QString>

class QWidget;

namespace corvane {

class ProgressDialog {
  public:
    virtual ~ProgressDialog() = default;
    // Shows the dialog over the window, for steps steps.
    virtual void begin(const QString& title, int steps) = 0;
    // Says what is being done now, as step done of the steps; both windows are painted and the
    // Cancel button answered meanwhile. False once the technician has cancelled.
    virtual bool step(const QString& text, int done) = 0;
    virtual void end() = 0;
};

// The dialog on QProgressDialog.
class QtProgressDialog final : public ProgressDialog {
  public:
    explicit QtProgressDialog(QWidget* parent) : parent_(parent) {}
    ~QtProgressDialog() override;
    void begin(const QString& title, int steps) override;
    bool step(const QString& text, int done) override;
    void end() override;

  private:
    QWidget* parent_;
    class QProgressDialog* dialog_ = nullptr;
};

}  // namespace corvane
