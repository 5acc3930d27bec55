// Message boxes on QMessageBox.
#pragma once

#include "document/message_box.h"

class QWidget;

namespace corvane {

class QtMessageBox final : public MessageBox {
public:
    explicit QtMessageBox(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }
    MessageAnswer show(const Message& message) override;

private:
    QWidget* parent_;
};

}  // namespace corvane
