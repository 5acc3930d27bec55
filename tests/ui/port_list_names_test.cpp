// The port list as the technician reads it: short names that fit the closed box, an open list
// wide enough for each entry with its adapter's description, the whole path in each tooltip.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QStyle>
#include <QStyleFactory>
#include <QStyleOptionComboBox>

#include "tests/support/main_window_world.h"

namespace corvane {
namespace {

using testing_support::MainWindowWorld;

TEST(PortNames, ADevicePathIsListedByItsShortName) {
    struct Case {
        const char* device;
        const char* listed;
    };
    for (const Case c :
         {Case{"/dev/ttyUSB0", "ttyUSB0"}, Case{"/dev/ttyACM12", "ttyACM12"},
          Case{"/dev/pts/4", "pts/4"}, Case{"\\\\.\\COM9", "COM9"}, Case{"COM1", "COM1"},
          Case{"Simulator", "Simulator"}, Case{"/dev/", "/dev/"}})
        EXPECT_EQ(ShortPortName(c.device), c.listed) << c.device;
}

TEST(PortNames, EachEntryShowsItsWholePathAsTooltip) {
    MainWindowWorld w;
    w.adapters = {{"/dev/ttyUSB0", "FT232R USB UART"}};
    w.window->addPort(QStringLiteral("/dev/pts/7"), "/dev/pts/7");
    w.window->addPort(QStringLiteral("Simulator"), "/dev/pts/99");
    PortComboBox* ports = w.window->cboComPort;
    ASSERT_EQ(ports->count(), 11);
    const QStringList listed{ports->itemText(0), ports->itemText(7), ports->itemText(8),
                             ports->itemText(9), ports->itemText(10)};
    EXPECT_EQ(listed,
              (QStringList{"COM1", "COM8", "ttyUSB0  FT232R USB UART", "pts/7", "Simulator"}));
    const QStringList tips{ports->itemData(0, Qt::ToolTipRole).toString(),
                           ports->itemData(7, Qt::ToolTipRole).toString(),
                           ports->itemData(8, Qt::ToolTipRole).toString(),
                           ports->itemData(9, Qt::ToolTipRole).toString(),
                           ports->itemData(10, Qt::ToolTipRole).toString()};
    EXPECT_EQ(tips, (QStringList{"/dev/ttyS0", "/dev/ttyS7", "/dev/ttyUSB0", "/dev/pts/7",
                                 "/dev/pts/99"}));

    // Pointing at the closed box shows the selected entry's path.
    EXPECT_EQ(ports->toolTip(), "/dev/pts/99");
    ports->setCurrentIndex(8);
    EXPECT_EQ(ports->closedText(), "ttyUSB0");
    EXPECT_EQ(ports->toolTip(), "/dev/ttyUSB0");
}

TEST(PortNames, TheClosedBoxShowsANameThatFits) {
    MainWindowWorld w;
    w.window->addPort(QStringLiteral("/dev/ttyUSB0"), "/dev/ttyUSB0");
    EXPECT_EQ(w.window->cboComPort->closedText(), "ttyUSB0");
    w.window->addPort(QStringLiteral("/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A10K-if00-port0"),
                      "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A10K-if00-port0");
    PortComboBox* ports = w.window->cboComPort;
    QStyleOptionComboBox option;
    option.initFrom(ports);
    const int room =
        ports->style()
            ->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, ports)
            .width();
    const QString shown = ports->closedText();
    EXPECT_TRUE(shown.startsWith("usb")) << shown.toStdString();
    EXPECT_TRUE(shown.endsWith("0")) << shown.toStdString();
    EXPECT_TRUE(shown.contains(QChar(0x2026))) << shown.toStdString();
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
