// The built-in demonstration show.
#include "sim/demo_show.h"

#include <cmath>
#include <numbers>
#include <string>

namespace corvane {
namespace {

void setScene(SceneTable& t, int scene, auto levelOf) {
    for (int d = 0; d < kDimmerCount; ++d) t(scene, d) = static_cast<int16_t>(levelOf(d));
}

}  // namespace

SceneTable DemoShow() {
    SceneTable t;
    setScene(t, 0, [](int) { return 255; });
    setScene(t, 1, [](int) { return 0; });
    for (int step = 0; step < 8; ++step)
        setScene(t, 2 + step, [step](int d) { return d % 8 == step ? 255 : 0; });
    for (int step = 0; step < 8; ++step)
        setScene(t, 10 + step, [step](int) { return 28 * (step + 1); });
    for (int step = 0; step < 8; ++step) {
        setScene(t, 18 + step, [step](int d) {
            const double phase = 2.0 * std::numbers::pi * (d + 8 * step) / kDimmerCount;
            return static_cast<int>(std::lround(127.5 + 127.5 * std::sin(phase)));
        });
    }
    for (int k = 0; k < 8; ++k) {
        const int floor = 16 * k;
        const bool rising = k % 2 == 0;
        setScene(t, 26 + k, [floor, rising](int d) {
            const int x = rising ? d : kDimmerCount - 1 - d;
            return floor + x * (255 - floor) / (kDimmerCount - 1);
        });
    }
    for (int k = 0; k < 8; ++k) {
        setScene(t, 34 + k, [k](int d) {
            const bool odd = d % 2 == 1;
            const bool group = (d / 4) % 8 == k;
            return group ? 255 : (odd == (k % 2 == 1) ? 96 : 24);
        });
    }
    for (int k = 0; k < 8; ++k)
        setScene(t, 42 + k, [k](int d) { return d < 8 * (k + 1) ? 200 : 0; });
    for (int k = 0; k < 8; ++k)
        setScene(t, 50 + k, [k](int d) { return d == 8 * k + k ? 255 : 26; });
    setScene(t, 58, [](int) { return 1; });
    setScene(t, 59, [](int) { return 127; });
    setScene(t, 60, [](int) { return 128; });
    setScene(t, 61, [](int) { return 254; });
    setScene(t, 62, [](int d) { return ((d / 8) + d) % 2 == 0 ? 255 : 0; });
    setScene(t, 63, [](int d) { return (d * 37 + 11) % 256; });
    return t;
}

namespace sim {

SceneMemory DemoMemory() {
    SceneMemory memory{};
    std::string unused;
    FromSceneTable(DemoShow(), memory, &unused);  // every demo level is 0 to 255
    return memory;
}

}  // namespace sim

}  // namespace corvane
