// Times corvane-scenes picture's work on the demo show: drawing the picture, encoding it as PNG,
// and both for a difference picture, each as the mean of many runs, with the PNG's size.
#include <QBuffer>
#include <QByteArray>
#include <QGuiApplication>
#include <QImage>
#include <chrono>
#include <cstdio>
#include <functional>

#include "cli/show_picture.h"
#include "sim/demo_show.h"

namespace {

using Clock = std::chrono::steady_clock;

QByteArray Png(const QImage& image) {
    QByteArray png;
    QBuffer buffer(&png);
    if (!buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "PNG")) return {};
    return png;
}

// Mean milliseconds of run over rounds runs, after one to warm the font cache.
double MeanMs(int rounds, const std::function<void()>& run) {
    run();
    const auto t0 = Clock::now();
    for (int i = 0; i < rounds; ++i) run();
    return std::chrono::duration<double, std::milli>(Clock::now() - t0).count() / rounds;
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    const QGuiApplication app(argc, argv);
    using namespace corvane;
    const SceneTable show = DemoShow();
    SceneTable next = show;
    for (int d = 8; d < 16; ++d) next(11, d) = 200;
    const int rounds = 50;

    QImage picture;
    const double draw = MeanMs(rounds, [&] { picture = cli::DrawShow(show, "demo.SCN"); });
    QByteArray png;
    const double encode = MeanMs(rounds, [&] { png = Png(picture); });
    QImage difference;
    const double drawDiff = MeanMs(
        rounds, [&] { difference = cli::DrawDifference(next, "next.SCN", show, "demo.SCN"); });
    QByteArray diffPng;
    const double encodeDiff = MeanMs(rounds, [&] { diffPng = Png(difference); });

    std::printf("picture of the demo show, mean of %d runs\n", rounds);
    std::printf("  %-12s %5d x %d pixels   draw %6.1f ms   PNG %6.1f ms   %7lld bytes\n", "show",
                picture.width(), picture.height(), draw, encode,
                static_cast<long long>(png.size()));
    std::printf("  %-12s %5d x %d pixels   draw %6.1f ms   PNG %6.1f ms   %7lld bytes\n",
                "difference", difference.width(), difference.height(), drawDiff, encodeDiff,
                static_cast<long long>(diffPng.size()));
    return 0;
}
