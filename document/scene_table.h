// The one scene table of a run: 64 scenes of 64 dimmer levels.
#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>

namespace corvane {

inline constexpr int kSceneCount = 64;
inline constexpr int kDimmerCount = 64;
inline constexpr int kLevelCount = kSceneCount * kDimmerCount;

// Levels are signed 16-bit, as the scene file holds them; the table does not range-check values.
// Storage runs with the scene index fastest: element (s, d) lies at 64 * d + s, which is also the
// order of the scene file.
class SceneTable {
  public:
    using Storage = std::array<int16_t, kLevelCount>;

    int16_t& operator()(int scene, int dimmer) { return levels_[index(scene, dimmer)]; }
    int16_t operator()(int scene, int dimmer) const { return levels_[index(scene, dimmer)]; }

    Storage& storage() { return levels_; }
    const Storage& storage() const { return levels_; }

    void fill(int16_t level) { levels_.fill(level); }

    // A table with the given (scene, dimmer, level) entries set and every other level 0.
    struct Entry {
        int scene;
        int dimmer;
        int16_t level;
    };
    static SceneTable with(std::initializer_list<Entry> entries) {
        SceneTable t;
        for (const Entry& e : entries) t(e.scene, e.dimmer) = e.level;
        return t;
    }

    static constexpr int index(int scene, int dimmer) { return kSceneCount * dimmer + scene; }

    friend bool operator==(const SceneTable&, const SceneTable&) = default;

  private:
    Storage levels_{};
};

}  // namespace corvane
