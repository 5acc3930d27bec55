// The progress dialog on QProgressDialog.
#include <QCoreApplication>
#include <QProgressDialog>

#include "ui/main/progress_dialog.h"

namespace corvane {

QtProgressDialog::~QtProgressDialog() {
    end();
}

void QtProgressDialog::begin(const QString& title, int steps) {
    end();
    dialog_ = new QProgressDialog(parent_);
    dialog_->setWindowTitle(title);
    dialog_->setWindowModality(Qt::WindowModal);
    dialog_->setRange(0, steps);
    dialog_->setMinimumDuration(0);
    dialog_->setAutoClose(false);
    dialog_->setAutoReset(false);
    dialog_->show();
}

bool QtProgressDialog::step(const QString& text, int done) {
    if (dialog_ == nullptr) return false;
    dialog_->setLabelText(text);
    dialog_->setValue(done);
    // A click on Cancel made while a node was asked arrives now.
    QCoreApplication::processEvents();
    return !dialog_->wasCanceled();
}

void QtProgressDialog::end() {
    delete dialog_;
    dialog_ = nullptr;
}

}  // namespace corvane
