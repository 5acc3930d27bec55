// Levels a controller cannot hold, and the built-in show every demonstration starts from. Which
// block holds which scene stands in every test that sends a show to the simulated controller.
#include "sim/scene_memory.h"

#include <gtest/gtest.h>

#include <set>

#include "sim/demo_show.h"

namespace corvane::sim {
namespace {

TEST(SceneMemory, RefusesLevelsAControllerCannotHold) {
    for (int16_t level : {int16_t{256}, int16_t{-1}, int16_t{32767}}) {
        SceneMemory m{};
        m[2][3] = 9;
        const SceneMemory before = m;
        std::string error;
        EXPECT_FALSE(FromSceneTable(SceneTable::with({{10, 20, level}}), m, &error));
        EXPECT_EQ(m, before);
        EXPECT_EQ(error, "scene 11, dimmer 21 has level " + std::to_string(level) +
                             "; a controller holds only levels 0 to 255");
    }
}

TEST(DemoShow, HasFullBlackoutAndVariedScenesAControllerCanHold) {
    const SceneTable show = DemoShow();
    SceneMemory m{};
    std::string error;
    EXPECT_TRUE(FromSceneTable(show, m, &error)) << error;
    std::set<std::vector<int16_t>> distinct;
    std::set<int16_t> levels;
    for (int s = 0; s < kSceneCount; ++s) {
        std::vector<int16_t> scene;
        for (int d = 0; d < kDimmerCount; ++d) {
            scene.push_back(show(s, d));
            levels.insert(show(s, d));
        }
        distinct.insert(scene);
    }
    EXPECT_EQ(distinct.size(), 64u) << "every scene should look different";
    EXPECT_GT(levels.size(), 100u);
    for (int d = 0; d < kDimmerCount; ++d) {
        EXPECT_EQ(show(0, d), 255);
        EXPECT_EQ(show(1, d), 0);
    }
    for (int edge : {0, 1, 127, 128, 254, 255})
        EXPECT_EQ(levels.count(static_cast<int16_t>(edge)), 1u) << edge;
}

}  // namespace
}  // namespace corvane::sim
