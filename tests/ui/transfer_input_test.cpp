// A Get through the window: the progress the technician sees, and input that reaches the windows
// while a Get, a Send or a Compare holds the thread: queued as the window system queues it, and
// dropped rather than run once the transfer has ended.
#include <gtest/gtest.h>

#include <QCloseEvent>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include <functional>
#include <ostream>
#include <utility>
#include <vector>

#include "tests/support/simulated_window_world.h"

namespace corvane {
namespace {

using testing_support::SimulatedWorld;

// Queues a left click at a point of a widget; it runs when the event loop next runs.
void postClick(QWidget* widget, QPoint at) {
    const QPointF local(at);
    const QPointF global(widget->mapToGlobal(at));
    QCoreApplication::postEvent(widget, new QMouseEvent(QEvent::MouseButtonPress, local, global,
                                                        Qt::LeftButton, Qt::LeftButton, {}));
    QCoreApplication::postEvent(widget, new QMouseEvent(QEvent::MouseButtonRelease, local, global,
                                                        Qt::LeftButton, Qt::NoButton, {}));
}
void postClick(QWidget* widget) {
    postClick(widget, widget->rect().center());
}

void postKey(QWidget* widget, Qt::Key key) {
    QCoreApplication::postEvent(widget, new QKeyEvent(QEvent::KeyPress, key, {}));
    QCoreApplication::postEvent(widget, new QKeyEvent(QEvent::KeyRelease, key, {}));
}

// Records the status label's text each time it is painted, as the technician would see it, and
// runs an action once, when the label is painted with a given text.
class PaintedTexts final : public QObject {
  public:
    explicit PaintedTexts(QLabel* label, QString at = {}, std::function<void()> act = {})
        : label_(label), at_(std::move(at)), act_(std::move(act)) {
        label->installEventFilter(this);
    }
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != label_ || event->type() != QEvent::Paint) return false;
        if (texts.empty() || texts.back() != label_->text()) texts.push_back(label_->text());
        if (act_ && label_->text() == at_) std::exchange(act_, nullptr)();
        return false;
    }
    std::vector<QString> texts;

  private:
    QLabel* label_;
    QString at_;
    std::function<void()> act_;
};

// What the Get leaves in the table and the window stands in the Get question's test.
TEST(GetButton, ShowsEachBlockInTurn) {
    SimulatedWorld w;
    PaintedTexts painted(w.window->lblFileName);
    QTest::mouseClick(w.window->cmdGetScenes, Qt::LeftButton);
    ASSERT_GE(painted.texts.size(), 64u);
    for (int b = 0; b < 64; ++b)
        EXPECT_EQ(painted.texts[static_cast<size_t>(b)],
                  QStringLiteral("Block: %1 Of 64").arg(b + 1, 2, 10, QLatin1Char('0')));
}

struct InputCase {
    const char* what;
    std::function<void(frmCVSceneTool&)> post;
};
void PrintTo(const InputCase& c, std::ostream* os) {
    *os << c.what;
}

// A transfer that holds the thread, started with the demo show in the table, unsaved: a Get
// asks first, a Compare answers after.
struct Transfer {
    const char* what;
    std::function<void(frmCVSceneTool&)> start;
    int reads, writes;
    size_t messagesShown;
};

void ExpectDropped(const Transfer& transfer, const InputCase& input) {
    SimulatedWorld w;
    w.scenes = DemoShow();
    w.document.Changed = true;
    frmCVSceneTool& window = *w.window;
    const int port = window.cboComPort->currentIndex();
    PaintedTexts midway(window.lblFileName, QStringLiteral("Block: 10 Of 64"),
                        [&] { input.post(window); });
    transfer.start(window);
    // Back in the event loop: whatever was still queued would run now.
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();

    EXPECT_EQ(w.frames(sim::Direction::Read), transfer.reads);
    EXPECT_EQ(w.frames(sim::Direction::Write), transfer.writes);
    EXPECT_EQ(w.scenes, DemoShow());
    EXPECT_TRUE(w.document.Changed);
    EXPECT_EQ(window.lblFileName->text(), " File: None");
    EXPECT_EQ(w.messages.shown.size(), transfer.messagesShown);
    EXPECT_EQ(w.editor.openings, 0);
    EXPECT_TRUE(w.cdFile.shown.empty());
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.cboComPort->currentIndex(), port);
    EXPECT_EQ(window.cboNode->currentIndex(), 0);
}

class InputDuringTransfer : public testing::TestWithParam<InputCase> {};

TEST_P(InputDuringTransfer, IsDroppedAndNothingRunsAfterTheTransfer) {
    const Transfer transfers[] = {
        {"Get", [](frmCVSceneTool& w) { QTest::mouseClick(w.cmdGetScenes, Qt::LeftButton); }, 64, 0,
         1},
        {"Send", [](frmCVSceneTool& w) { QTest::mouseClick(w.cmdSendScenes, Qt::LeftButton); }, 0,
         64, 0},
        {"Compare", [](frmCVSceneTool& w) { w.mnuCompareController->trigger(); }, 64, 0, 1}};
    for (const Transfer& transfer : transfers) {
        SCOPED_TRACE(transfer.what);
        ExpectDropped(transfer, GetParam());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, InputDuringTransfer,
    testing::Values(
        InputCase{"a click on Send", [](frmCVSceneTool& w) { postClick(w.cmdSendScenes); }},
        InputCase{"a click on Get", [](frmCVSceneTool& w) { postClick(w.cmdGetScenes); }},
        InputCase{"a click on Edit",
                  [](frmCVSceneTool& w) {
                      postClick(w.menuBar(), w.menuBar()->actionGeometry(w.mnuEdit).center());
                  }},
        InputCase{"keys in the port list",
                  [](frmCVSceneTool& w) { postKey(w.cboComPort, Qt::Key_Up); }},
        InputCase{"keys in the node list",
                  [](frmCVSceneTool& w) { postKey(w.cboNode, Qt::Key_Down); }},
        // A shortcut is taken from the keyboard at once, not queued: it reaches the tool mid-Get.
        InputCase{"the Open shortcut",
                  [](frmCVSceneTool& w) {
                      QTest::keyClick(w.cboComPort, Qt::Key_O, Qt::ControlModifier);
                  }},
        InputCase{"the Exit shortcut",
                  [](frmCVSceneTool& w) {
                      QTest::keyClick(w.cboComPort, Qt::Key_Q, Qt::ControlModifier);
                  }},
        InputCase{
            "Alt+E for Edit",
            [](frmCVSceneTool& w) { QTest::keyClick(w.cboComPort, Qt::Key_E, Qt::AltModifier); }},
        InputCase{"the close box",
                  [](frmCVSceneTool& w) { QCoreApplication::postEvent(&w, new QCloseEvent); }}));

// A message shown during the Get runs its own event loop: what queued before it must not run
// there, and the technician's answer must get through.
TEST(InputDuringGet, AMessageTakesInputButNotWhatQueuedBeforeIt) {
    SimulatedWorld w;
    w.server.addFault({20, sim::FaultKind::Drop, sim::kAlways, sim::Direction::Read});
    PaintedTexts midway(w.window->lblFileName, QStringLiteral("Block: 10 Of 64"),
                        [&] { postClick(w.window->cmdSendScenes); });
    bool keyReached = false;
    w.messages.onShow = [&](const Message&) {
        QCoreApplication::processEvents();
        QTest::keyClick(w.window->cboNode, Qt::Key_Down);
        keyReached = w.window->cboNode->currentIndex() == 1;
    };
    QTest::mouseClick(w.window->cmdGetScenes, Qt::LeftButton);
    QCoreApplication::processEvents();

    ASSERT_EQ(w.messages.shown.size(), 1u);
    EXPECT_EQ(testing_support::WithoutInformativeText(w.messages.shown[0]),
              messages::uploadError());
    EXPECT_TRUE(keyReached);
    EXPECT_EQ(w.frames(sim::Direction::Write), 0);
    EXPECT_FALSE(w.document.Changed);
}

}  // namespace
}  // namespace corvane
