// The Open and Save As dialogs on QFileDialog.
#pragma once

#include "document/file_dialog.h"

class QWidget;

namespace corvane {

class QtFileDialog final : public FileDialog {
public:
    explicit QtFileDialog(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }
    bool ShowOpen() override;
    bool ShowSave() override;

private:
    QWidget* parent_;
};

}  // namespace corvane
