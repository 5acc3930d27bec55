// Message boxes on QMessageBox.
#pragma once

#include "document/message_box.h"

class QMessageBox;
class QWidget;

namespace corvane {

class QtMessageBox final : public MessageBox {
  public:
    explicit QtMessageBox(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }
    MessageAnswer show(const Message& message) override;

    // Sets up box for message as show does, without showing it.
    static void prepare(QMessageBox& box, const Message& message);

  private:
    QWidget* parent_;
};

}  // namespace corvane
