// Times the Scene Grid on a full table: opening the window until it is painted, a paste of all
// 4,096 levels, and undoing it, each with the repaint the technician waits for, as the mean and
// the slowest of many runs against the goals.
#include <QApplication>
#include <QClipboard>
#include <QPixmap>
#include <QStandardPaths>
#include <QTableView>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>

#include "document/document_state.h"
#include "document/message_box.h"
#include "document/scene_table.h"
#include "ui/grid/clipboard_text.h"
#include "ui/grid/scene_grid_window.h"
#include "ui/grid/scene_history.h"

namespace {

using Clock = std::chrono::steady_clock;

class SilentMessages final : public corvane::MessageBox {
  public:
    corvane::MessageAnswer show(const corvane::Message&) override {
        return corvane::MessageAnswer::Ok;
    }
};

struct Figures {
    double meanMs = 0;
    double slowestMs = 0;
};

// Runs prepare untimed and then run timed, rounds times, after one round to warm the caches.
Figures Measure(int rounds, const std::function<void()>& prepare,
                const std::function<void()>& run) {
    prepare();
    run();
    Figures f;
    for (int i = 0; i < rounds; ++i) {
        prepare();
        const auto t0 = Clock::now();
        run();
        const double ms = std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
        f.meanMs += ms / rounds;
        f.slowestMs = std::max(f.slowestMs, ms);
    }
    return f;
}

void Print(const char* what, const Figures& f, double goalMs) {
    std::printf("  %-34s mean %7.2f ms   slowest %7.2f ms   goal under %3.0f ms  %s\n", what,
                f.meanMs, f.slowestMs, goalMs, f.slowestMs < goalMs ? "met" : "MISSED");
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // The offscreen platform's notes on every window would bury the figures.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    QStandardPaths::setTestModeEnabled(true);  // the window's remembered place stays out of ~
    const QApplication app(argc, argv);
    using namespace corvane;
    SceneTable scenes;
    for (int s = 0; s < kSceneCount; ++s)
        for (int d = 0; d < kDimmerCount; ++d)
            scenes(s, d) = static_cast<int16_t>((s * 4 + d) % 256);
    DocumentState document;
    SilentMessages messages;
    SceneHistory history(scenes, document);
    const int rounds = 30;

    std::unique_ptr<SceneGridWindow> grid;
    const Figures open = Measure(
        rounds, [&] { grid.reset(); },
        [&] {
            grid = std::make_unique<SceneGridWindow>(history, messages);
            grid->show();
            grid->grab();  // paints every visible cell and header
        });

    // Two whole tables that differ in every cell, pasted in turn so each paste changes 4,096
    // levels.
    SceneTable other = scenes;
    for (int16_t& level : other.storage()) level = static_cast<int16_t>(255 - level);
    const QRect whole(0, 0, kDimmerCount, kSceneCount);
    const QString texts[] = {CopyText(other, whole), CopyText(scenes, whole)};
    int turn = 0;
    const auto repaint = [&] { grid->view->viewport()->repaint(); };
    const Figures paste = Measure(
        rounds,
        [&] {
            QGuiApplication::clipboard()->setText(texts[turn++ % 2]);
            grid->view->setCurrentIndex(grid->view->model()->index(0, 0));
            grid->view->clearSelection();
        },
        [&] { grid->paste(), repaint(); });
    const int steps = history.stack().count();
    const auto pasteNext = [&] {
        QGuiApplication::clipboard()->setText(texts[turn++ % 2]);
        grid->paste();
    };
    const Figures undo = Measure(rounds, pasteNext, [&] { history.stack().undo(), repaint(); });

    std::printf("Scene Grid on a full table (%d x %d levels), %d runs each\n", kSceneCount,
                kDimmerCount, rounds);
    Print("open the window, painted", open, 100);
    Print("paste all 4,096 levels, repainted", paste, 50);
    Print("undo that paste, repainted", undo, 50);
    std::printf("  (each paste one step: %d pastes made %d steps)\n", rounds + 1, steps);
    return 0;
}
