// The scene table's storage order is the scene file's byte order: scene index fastest.
#include "document/scene_table.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

TEST(SceneTable, StoresSceneIndexFastest) {
    SceneTable t;
    t(1, 0) = 11;
    t(0, 1) = 22;
    t(63, 63) = -5;
    EXPECT_EQ(t.storage()[1], 11);
    EXPECT_EQ(t.storage()[64], 22);
    EXPECT_EQ(t.storage()[4095], -5);
    EXPECT_EQ(SceneTable::index(5, 7), 64 * 7 + 5);
}

}  // namespace
}  // namespace corvane
