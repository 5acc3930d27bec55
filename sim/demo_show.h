// A built-in show for demonstrations and for a simulated controller started without a scene file.
#pragma once

#include "document/scene_table.h"
#include "sim/scene_memory.h"

namespace corvane {

// Every level is 0 to 255, and each scene is easy to tell apart in the editor:
//   scene 1 full (every dimmer 255)     scene 2 blackout (every dimmer 0)
//   scenes 3-10   an 8-step chase: dimmers 1, 9, 17, ... up in step 1, 2, 10, 18, ... in step 2
//   scenes 11-18  whole-rig fades in eight even steps, 28 up to 224
//   scenes 19-26  a wave rolling across the rig, one eighth of its length per scene
//   scenes 27-34  ramps across the rig, rising and falling, with different floors
//   scenes 35-42  odd and even dimmers, each group of four in turn, at mixed levels
//   scenes 43-50  a fill from the first dimmer up, 8 more dimmers per scene
//   scenes 51-58  single dimmers at full over a 10% wash, to find a lamp
//   scenes 59-62  the whole rig at 1, 127, 128 and 254, the edges of the percent scale
//   scene 63      a checkerboard; scene 64 a scatter of levels across the whole range
SceneTable DemoShow();

namespace sim {
// The demo show as a simulated controller holds it.
SceneMemory DemoMemory();
}  // namespace sim

}  // namespace corvane
