// The port list: asks for a fresh list of adapters each time it is opened.
#pragma once

#include <QComboBox>

#include <functional>

namespace corvane {

class PortComboBox final : public QComboBox {
    Q_OBJECT

public:
    using QComboBox::QComboBox;

    std::function<void()> aboutToOpen;

    void showPopup() override {
        if (aboutToOpen) aboutToOpen();
        QComboBox::showPopup();
    }
};

}  // namespace corvane
