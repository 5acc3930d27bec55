// The main window's layout, start-up and file-name display.
#include "ui/main/main_window.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>

#include "connection/controller_connection.h"
#include "link/hex.h"
#include "link/network_ports.h"
#include "link/port_names.h"
#include "ui/grid/scene_grid_window.h"
#include "ui/grid/scene_history.h"
#include "ui/main/compact_combo_style.h"
#include "ui/main/fitted_file_text.h"
#include "ui/main/port_combo_box.h"
#include "ui/main/progress_dialog.h"
#include "ui/main/twips.h"
#include "ui/main/window_placement.h"

namespace corvane {
namespace {

constexpr QSize kClientSize(twipsToPixels(5175), twipsToPixels(1335));
constexpr QRect kComPortRect = twipsRect(120, 120, 1095, 315);
constexpr QRect kGetScenesRect = twipsRect(1680, 120, 3255, 375);
constexpr QRect kSendScenesRect = twipsRect(1680, 600, 3255, 375);
constexpr QRect kNodeRect = twipsRect(120, 480, 1095, 315);
constexpr QRect kFileNameRect = twipsRect(0, 1080, 5175, 255);

const QString kCaption = QStringLiteral("Ostrel Corvane Scene Tool R01");
const QString kFilePrefix = QStringLiteral(" File: ");

}  // namespace

frmCVSceneTool::frmCVSceneTool(const MainWindowParts& parts, QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                              Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      parts_(parts),
      history_(std::make_unique<SceneHistory>(parts.Scenes, parts.document)) {
    setWindowTitle(kCaption);
    // The controls are designed for a small dialog font; a larger one clips "Node: FE".
    QFont small = font();
    small.setPointSize(8);
    setFont(small);
    setWindowIcon(QIcon(QStringLiteral(":/icons/corvane-scene-tool.png")));
    buildControls();
    buildMenus();
    Form_Load();
}

frmCVSceneTool::~frmCVSceneTool() = default;

void frmCVSceneTool::buildControls() {
    auto* client = new QWidget(this);
    client->setFixedSize(kClientSize);
    setCentralWidget(client);

    cboComPort = new PortComboBox(client);
    cboComPort->aboutToOpen = [this] { refreshPortList(); };
    cboComPort->setGeometry(kComPortRect);
    applyCompactComboStyle(cboComPort);
    cmdGetScenes = new QPushButton(QStringLiteral("Get Scenes From Corvane / Pavix"), client);
    cmdGetScenes->setGeometry(kGetScenesRect);
    cmdSendScenes = new QPushButton(QStringLiteral("Send Scenes To Corvane / Pavix"), client);
    cmdSendScenes->setGeometry(kSendScenesRect);
    cboNode = new QComboBox(client);
    cboNode->setGeometry(kNodeRect);
    applyCompactComboStyle(cboNode);

    lblFileName = new QLabel(client);
    lblFileName->setObjectName(QStringLiteral("lblFileName"));
    lblFileName->setGeometry(kFileNameRect);
    lblFileName->setFrameShape(QFrame::Box);
    lblFileName->setLineWidth(1);
    lblFileName->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    lblFileName->setAutoFillBackground(true);
    QPalette pale = lblFileName->palette();
    pale.setColor(QPalette::Window, QColor(0xC0, 0xFF, 0xFF));
    pale.setColor(QPalette::WindowText, Qt::black);
    lblFileName->setPalette(pale);

    setTabOrder(cboComPort, cmdGetScenes);
    setTabOrder(cmdGetScenes, cmdSendScenes);
    setTabOrder(cmdSendScenes, cboNode);

    connect(cmdGetScenes, &QPushButton::clicked, this, &frmCVSceneTool::cmdGetScenes_Click);
    connect(cmdSendScenes, &QPushButton::clicked, this, &frmCVSceneTool::cmdSendScenes_Click);
}

void frmCVSceneTool::buildMenus() {
    // '&' marks the letter that opens the menu with Alt; it is drawn underlined, not shown.
    QMenu* mnuFile = menuBar()->addMenu(QStringLiteral("&File"));
    mnuNew = mnuFile->addAction(QStringLiteral("New"));
    mnuOpen = mnuFile->addAction(QStringLiteral("Open"));
    mnuSave = mnuFile->addAction(QStringLiteral("Save"));
    mnuSaveAs = mnuFile->addAction(QStringLiteral("Save As"));
    mnuFile->addSeparator();
    mnuExit = mnuFile->addAction(QStringLiteral("Exit"));
    // A top-level item without a submenu: clicking it runs the command at once.
    mnuEdit = menuBar()->addAction(QStringLiteral("&Edit"));

    // The keys every desktop program uses; each runs what its menu entry runs.
    mnuNew->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    mnuOpen->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    mnuSave->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    mnuSaveAs->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    mnuExit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));

    connect(mnuNew, &QAction::triggered, this, &frmCVSceneTool::mnuNew_Click);
    connect(mnuOpen, &QAction::triggered, this, &frmCVSceneTool::mnuOpen_Click);
    connect(mnuSave, &QAction::triggered, this, &frmCVSceneTool::mnuSave_Click);
    connect(mnuSaveAs, &QAction::triggered, this, &frmCVSceneTool::mnuSaveAs_Click);
    connect(mnuExit, &QAction::triggered, this, &frmCVSceneTool::mnuExit_Click);
    connect(mnuEdit, &QAction::triggered, this, &frmCVSceneTool::mnuEdit_Click);

    // Beside the designed menus: finding a controller on the line and comparing with it.
    QMenu* mnuController = menuBar()->addMenu(QStringLiteral("&Controller"));
    mnuFindController = mnuController->addAction(QStringLiteral("Find Controller"));
    mnuCompareController = mnuController->addAction(QStringLiteral("Compare With Controller"));
    connect(mnuFindController, &QAction::triggered, this, &frmCVSceneTool::mnuFindController_Click);
    connect(mnuCompareController, &QAction::triggered, this,
            &frmCVSceneTool::mnuCompareController_Click);
    mnuController->addSeparator();
    mnuAddNetworkPort = mnuController->addAction(QStringLiteral("Add Network Port..."));
    connect(mnuAddNetworkPort, &QAction::triggered, this, &frmCVSceneTool::mnuAddNetworkPort_Click);
    buildTableMenu();
}

void frmCVSceneTool::Form_Load() {
    parts_.document.CurrentFile = kNoFile;
    UpdateTitle();

    cboComPort->clear();
    for (int16_t n = 1; n <= kSystemPortCount; ++n) {
        const QString name = QStringLiteral("COM%1").arg(n);
        cboComPort->addPort(name, name, QString::fromStdString(SystemPortDevice(n)));
    }
    cboComPort->setCurrentIndex(0);
    listRememberedPorts();
    refreshPortList();

    cboNode->clear();
    for (int16_t n = 1; n <= 254; ++n)
        cboNode->addItem(QStringLiteral("Node: ") + QString::fromStdString(Hex2(n)));
    cboNode->setCurrentIndex(0);

    cboComPort->setFocus();
    setFixedSize(sizeHint());
}

std::unique_ptr<ControllerConnection> frmCVSceneTool::connectSelected() {
    return parts_.openConnection(cboComPort->currentData().toString().toStdString(),
                                 cboNode->currentIndex() + 1);
}

void frmCVSceneTool::addPort(const QString& label, const std::string& device) {
    fixedPorts_.push_back({label, device});
    refreshPortList();
    cboComPort->setCurrentIndex(cboComPort->count() - 1);
}

void frmCVSceneTool::refreshPortList() {
    const QString selected = cboComPort->currentData().toString();
    std::vector<SerialAdapter> adapters =
        parts_.scanAdapters ? parts_.scanAdapters() : std::vector<SerialAdapter>{};

    // Entries after the eight system ports are the further devices; each entry carries its device.
    while (cboComPort->count() > kSystemPortCount) cboComPort->removeItem(cboComPort->count() - 1);
    for (const SerialAdapter& a : adapters) {
        const QString device = QString::fromStdString(a.device);
        const QString name = ShortPortName(device);
        QString listed = name;
        if (!a.description.empty())
            listed += QStringLiteral("  ") + QString::fromStdString(a.description);
        cboComPort->addPort(listed, name, device);
    }
    // A device named on the command line is listed by its short name; "Simulator" and a network
    // port stay as they are.
    for (const FixedPort& p : fixedPorts_) {
        const QString name =
            IsNetworkPortName(p.label.toStdString()) ? p.label : ShortPortName(p.label);
        cboComPort->addPort(name, name, QString::fromStdString(p.device));
    }

    const int again = cboComPort->findData(selected);
    cboComPort->setCurrentIndex(again >= 0 ? again : 0);
}

void frmCVSceneTool::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (centred_) return;
    centred_ = true;
    CentreOnScreen(*this);
    cboComPort->setFocus();
}

void frmCVSceneTool::UpdateTitle() {
    blockShown_ = -1;
    const QString& file = parts_.document.CurrentFile;
    // The label's own text starts half an 'x' in from its frame and keeps as much at its end.
    const QFontMetrics metrics = lblFileName->fontMetrics();
    const int width = lblFileName->contentsRect().width() - 2 * lblFileName->margin() -
                      metrics.horizontalAdvance(QLatin1Char('x'));
    lblFileName->setText(FitFileText(kFilePrefix, file, metrics, width));
    lblFileName->setToolTip(file == kNoFile ? QString() : file);
}

void frmCVSceneTool::closeEvent(QCloseEvent* event) {
    if (closeApproved_ || Form_Unload()) {
        event->accept();
        if (grid_ != nullptr) grid_->close();
    } else {
        event->ignore();
    }
}

}  // namespace corvane
