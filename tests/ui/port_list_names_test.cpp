// The port list as the technician reads it: short names that fit the closed box, an open list
// wide enough for each entry with its adapter's description, the whole path in each tooltip.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QStyle>
#include <QStyleFactory>
#include <QStyleOptionComboBox>
#include <utility>
#include <vector>

#include "tests/support/main_window_world.h"

namespace corvane {
namespace {

using testing_support::MainWindowWorld;

TEST(PortNames, ADevicePathIsListedByItsShortName) {
    for (const auto& [device, listed] :
         std::vector<std::pair<const char*, const char*>>{{"/dev/ttyUSB0", "ttyUSB0"},
                                                          {"/dev/pts/4", "pts/4"},
                                                          {"\\\\.\\COM9", "COM9"},
                                                          {"COM1", "COM1"},
                                                          {"Simulator", "Simulator"},
                                                          {"/dev/", "/dev/"}})
        EXPECT_EQ(ShortPortName(device), listed) << device;
}

// Adapters follow the eight system ports, the devices named at start-up come last; each entry
// reads short and holds its device, whose whole path is its tooltip.
TEST(PortList, AdaptersFollowTheEightAndNamedDevicesComeLastEachReadShort) {
    MainWindowWorld w;
    w.adapters = {{"/dev/ttyUSB0", "FT232R USB UART"}, {"/dev/ttyACM0", ""}};
    w.window->addPort(QStringLiteral("/dev/pts/7"), "/dev/pts/7");
    w.window->addPort(QStringLiteral("/dev/ttyS4"), "/dev/ttyS4x");
    w.window->addPort(QStringLiteral("Simulator"), "/dev/pts/99");
    PortComboBox* ports = w.window->cboComPort;
    QStringList entries;
    for (const int i : {0, 7, 8, 9, 10, 11, 12}) {
        entries << ports->itemText(i) + " = " + ports->itemData(i).toString();
        EXPECT_EQ(ports->itemData(i, Qt::ToolTipRole), ports->itemData(i)) << i;
    }
    EXPECT_EQ(entries, (QStringList{"COM1 = /dev/ttyS0", "COM8 = /dev/ttyS7",
                                    "ttyUSB0  FT232R USB UART = /dev/ttyUSB0",
                                    "ttyACM0 = /dev/ttyACM0", "pts/7 = /dev/pts/7",
                                    "ttyS4 = /dev/ttyS4x", "Simulator = /dev/pts/99"}));
    // The closed box: the selected entry's short name, and its path when pointed at.
    EXPECT_EQ(ports->closedText(), "Simulator");
    EXPECT_EQ(ports->toolTip(), "/dev/pts/99");
    ports->setCurrentIndex(8);
    EXPECT_EQ(ports->closedText(), "ttyUSB0");
    EXPECT_EQ(ports->toolTip(), "/dev/ttyUSB0");

    // The adapters are read afresh when the list opens; the selection stays on its device when an
    // adapter ahead of it goes away.
    ports->setCurrentIndex(9);
    w.adapters = {{"/dev/ttyACM0", ""}};
    ports->showPopup();
    ports->hidePopup();
    ASSERT_EQ(ports->count(), 12);
    EXPECT_EQ(ports->currentIndex(), 8);
    EXPECT_EQ(ports->closedText(), "ttyACM0");
    EXPECT_EQ(ports->currentData().toString(), "/dev/ttyACM0");

    // A name too long even so gives way in the middle.
    const QString byId =
        QStringLiteral("/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A10K-if00-port0");
    w.window->addPort(byId, byId.toStdString());
    QStyleOptionComboBox option;
    option.initFrom(ports);
    const int room =
        ports->style()
            ->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, ports)
            .width();
    const QString shown = ports->closedText();
    EXPECT_TRUE(shown.startsWith("usb") && shown.endsWith("0") && shown.contains(QChar(0x2026)))
        << shown.toStdString();
    EXPECT_LE(ports->fontMetrics().horizontalAdvance(shown), room) << shown.toStdString();
}

// Qt widens the open list itself only in some styles ("Fusion"); in others ("Windows") the list
// keeps the closed box's width unless told otherwise.
TEST(PortNames, TheOpenListIsWideEnoughForEachEntry) {
    for (const char* styleName : {"Fusion", "Windows"}) {
        MainWindowWorld w;
        PortComboBox* ports = w.window->cboComPort;
        QStyle* style = QStyleFactory::create(QString::fromLatin1(styleName));
        ASSERT_NE(style, nullptr) << styleName;
        style->setParent(ports);
        ports->setStyle(style);
        w.window->show();
        w.adapters = {{"/dev/ttyUSB0", "Future Technology Devices FT232R USB UART"}};
        ports->showPopup();
        QAbstractItemView* list = ports->view();
        ASSERT_EQ(ports->count(), 9);
        for (int row = 0; row < ports->count(); ++row) {
            EXPECT_GE(list->viewport()->width(),
                      list->fontMetrics().horizontalAdvance(ports->itemText(row)))
                << styleName << ": " << ports->itemText(row).toStdString();
        }
        ports->hidePopup();
    }
}

}  // namespace
}  // namespace corvane
