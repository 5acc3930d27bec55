// The main window: port and node lists, the two transfer buttons, the file-name display, the
// File and Edit menus, and beside them the Controller and Table menus.
#pragma once

#include <QMainWindow>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

#include "document/document_commands.h"
#include "document/document_state.h"
#include "link/adapter_scan.h"
#include "transfer/node_scan.h"
#include "ui/main/port_combo_box.h"
#include "ui/main/transfer_failure_text.h"

class QComboBox;
class QLabel;
class QPushButton;
class QAction;

namespace corvane {

class SceneTable;
class FileDialog;
class MessageBox;
class EditorLauncher;
class ControllerConnection;
class ProgressDialog;
class SceneHistory;
class SceneGridWindow;
class TextPrompt;

struct TransferOutcome;
struct TransferEvents;

// Opens the controller at a node (1 to 254) on the port at a device, for one transfer.
using ConnectionOpener =
    std::function<std::unique_ptr<ControllerConnection>(const std::string& device, int node)>;

// What the window works on; main owns every part, tests build their own.
struct MainWindowParts {
    SceneTable& Scenes;
    DocumentState& document;
    ConnectionOpener openConnection;
    FileDialog& cdFile;
    MessageBox& messages;
    EditorLauncher& editor;
    // The serial adapters the system reports now; asked each time the port list opens.
    std::function<std::vector<SerialAdapter>()> scanAdapters = ScanSerialAdapters;
    // The dialog Find shows; none: a QProgressDialog over the window.
    ProgressDialog* progress = nullptr;
    // How long Find gives each node to answer at first, in milliseconds.
    int findLimitMs = kProbeLimitMs;
    // The one-line question Add Network Port asks; none: a QInputDialog over the window.
    TextPrompt* prompt = nullptr;
    // Where the network ports added are remembered between runs; empty: the user's settings.
    QString settingsFile = {};
};

class frmCVSceneTool : public QMainWindow {
    Q_OBJECT

  public:
    explicit frmCVSceneTool(const MainWindowParts& parts, QWidget* parent = nullptr);
    ~frmCVSceneTool() override;

    // " File: " followed by CurrentFile in the status label, the folder shortened in the middle
    // when the whole path does not fit; the label's tooltip holds the whole path.
    void UpdateTitle();

    // Adds a device at the end of the port list (after the adapters found) and selects it.
    void addPort(const QString& label, const std::string& device);
    // Re-reads the adapters the system reports, keeping the selection on the same device.
    void refreshPortList();

    // A scene file named on the command line, opened as File > Open opens a chosen file.
    void openAtStart(const QString& path);

    // Handlers, one per control event.
    void cmdGetScenes_Click();
    void cmdSendScenes_Click();
    void mnuNew_Click();
    void mnuOpen_Click();
    void mnuSave_Click();
    void mnuSaveAs_Click();
    void mnuExit_Click();
    void mnuEdit_Click();
    void mnuFindController_Click();
    void mnuCompareController_Click();
    void mnuSceneGrid_Click();
    void mnuAddNetworkPort_Click();
    // The close request; returns true when the window may close.
    bool Form_Unload();

    // Controls, for the handlers and for tests that read what the user sees.
    PortComboBox* cboComPort = nullptr;
    QComboBox* cboNode = nullptr;
    QPushButton* cmdGetScenes = nullptr;
    QPushButton* cmdSendScenes = nullptr;
    QLabel* lblFileName = nullptr;
    QAction* mnuNew = nullptr;
    QAction* mnuOpen = nullptr;
    QAction* mnuSave = nullptr;
    QAction* mnuSaveAs = nullptr;
    QAction* mnuExit = nullptr;
    QAction* mnuEdit = nullptr;
    QAction* mnuFindController = nullptr;
    QAction* mnuCompareController = nullptr;
    QAction* mnuSceneGrid = nullptr;
    QAction* mnuUndo = nullptr;
    QAction* mnuRedo = nullptr;

    // The table was cleared, opened or saved: where its history starts or comes back to.
    void tableEvent(TableEvent event);

    // The table's steps of change, and the Scene Grid window once it has been opened.
    SceneHistory& history() { return *history_; }
    SceneGridWindow* grid() const { return grid_; }
    QAction* mnuAddNetworkPort = nullptr;

  protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    void buildControls();
    void buildMenus();
    void buildTableMenu();
    void Form_Load();
    void showProgress(int block);
    // Moves the table with the controller the lists select, as transfer says: progress in the
    // status label, input made meanwhile dropped, a failed block or port reported.
    TransferOutcome runTransfer(
        TransferWay way,
        const std::function<TransferOutcome(ControllerConnection&, const TransferEvents&)>&
            transfer);
    // The controller the two lists select: the device of the port entry and the node of the node
    // entry (entry i is node i + 1), read when a transfer starts.
    std::unique_ptr<ControllerConnection> connectSelected();
    // The selected port and node, as a failure message names them.
    TransferPlace transferPlace() const;
    void reportPortFailure(const TransferOutcome& outcome, TransferWay way);
    // The network ports added in earlier runs, listed (not selected) after the adapters.
    void listRememberedPorts();
    QStringList rememberedPorts() const;
    void rememberPort(const QString& name);

    struct FixedPort {
        QString label;
        std::string device;
    };

    MainWindowParts parts_;
    std::unique_ptr<SceneHistory> history_;
    SceneGridWindow* grid_ = nullptr;              // a child window, deleted with this one
    std::vector<FixedPort> fixedPorts_;            // --port and the simulator, after the adapters
    std::unique_ptr<ProgressDialog> ownProgress_;  // when the parts give none
    std::unique_ptr<TextPrompt> ownPrompt_;        // when the parts give none
    int blockShown_ = -1;  // the block whose progress the status label shows, -1 for the file
    bool centred_ = false;
    bool closeApproved_ = false;  // the close request has already been answered
};

}  // namespace corvane
