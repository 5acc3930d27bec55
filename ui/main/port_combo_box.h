// The port list: asks for a fresh list of adapters each time it is opened, names devices by a
// short name that fits its closed box, and opens wide enough to read each entry whole.
#pragma once

#include <QComboBox>
#include <QString>
#include <functional>

namespace corvane {

// The name a device path is listed by: "/dev/ttyUSB0" is "ttyUSB0", "/dev/pts/4" is "pts/4"
// (a bare number says nothing), "\\.\COM9" is "COM9". Anything that is not a path, such as
// "COM1" or "Simulator", stays as it is.
QString ShortPortName(const QString& device);

class PortComboBox final : public QComboBox {
    Q_OBJECT

  public:
    explicit PortComboBox(QWidget* parent = nullptr);

    std::function<void()> aboutToOpen;

    // An entry: listed as the open list shows it ("ttyUSB0  FT232R USB UART"), shortName in the
    // closed box, device as its data and the whole path as its tooltip.
    void addPort(const QString& listed, const QString& shortName, const QString& device);

    // The selected entry's short name, as messages name the port.
    QString shortName() const;
    // What the closed box shows for the selected entry: its short name, cut in the middle if it
    // still does not fit.
    QString closedText() const;

    void showPopup() override;

  protected:
    void initStyleOption(QStyleOptionComboBox* option) const override;

  private:
    static constexpr int kShortNameRole = Qt::UserRole + 1;
};

}  // namespace corvane
