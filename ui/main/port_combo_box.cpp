// The port list.
#include "ui/main/port_combo_box.h"

#include <QAbstractItemView>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <algorithm>

namespace corvane {

QString ShortPortName(const QString& device) {
    const qsizetype slash =
        std::max(device.lastIndexOf(QLatin1Char('/')), device.lastIndexOf(QLatin1Char('\\')));
    if (slash < 0 || slash + 1 == device.size()) return device;
    QString name = device.mid(slash + 1);
    bool number = false;
    (void)name.toInt(&number);
    if (!number) return name;
    // "/dev/pts/4" is "pts/4": the folder says what kind of device the number is.
    const qsizetype parent = device.lastIndexOf(QLatin1Char('/'), slash - 1);
    return parent < 0 ? device : device.mid(parent + 1);
}

PortComboBox::PortComboBox(QWidget* parent) : QComboBox(parent) {
    // Pointing at the closed box shows the whole path of what is selected.
    connect(this, &QComboBox::currentIndexChanged, this,
            [this](int index) { setToolTip(itemData(index, Qt::ToolTipRole).toString()); });
}

void PortComboBox::addPort(const QString& listed, const QString& shortName, const QString& device) {
    addItem(listed, device);
    const int at = count() - 1;
    setItemData(at, shortName, kShortNameRole);
    setItemData(at, device, Qt::ToolTipRole);
    if (at == currentIndex()) setToolTip(device);
}

QString PortComboBox::shortName() const {
    const QString name = currentData(kShortNameRole).toString();
    return name.isEmpty() ? currentText() : name;
}

QString PortComboBox::closedText() const {
    QStyleOptionComboBox option;
    initStyleOption(&option);
    return option.currentText;
}

void PortComboBox::initStyleOption(QStyleOptionComboBox* option) const {
    QComboBox::initStyleOption(option);
    if (currentIndex() < 0) return;
    const QRect field =
        style()->subControlRect(QStyle::CC_ComboBox, option, QStyle::SC_ComboBoxEditField, this);
    option->currentText = fontMetrics().elidedText(shortName(), Qt::ElideMiddle, field.width());
}

void PortComboBox::showPopup() {
    if (aboutToOpen) aboutToOpen();
    // The open list is as wide as its longest entry, an adapter's description included.
    QAbstractItemView* list = view();
    int wanted = list->sizeHintForColumn(0) + 2 * list->frameWidth();
    if (count() > maxVisibleItems()) wanted += list->verticalScrollBar()->sizeHint().width();
    list->setMinimumWidth(std::max(width(), wanted));
    QComboBox::showPopup();
}

}  // namespace corvane
