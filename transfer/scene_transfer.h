// Getting the 64 scene blocks from a controller and sending them to it.
//
//   | command        | text                                           | reply waited for |
//   | block read     | "397" + Hex4(s * 64) + "3F"                    | 132 characters   |
//   | block write    | "387" + Hex4(s * 64) + "3F" + 64 x Hex2(level) | 6 characters     |
//
// Byte d of block s is Scenes(s, d). A read reply carries byte d as the two hex digits at
// 0-based positions 3 + 2d and 4 + 2d.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "document/scene_table.h"
#include "link/controller_link.h"

namespace corvane {

inline constexpr int16_t kReadReplyLength = 132;
inline constexpr int16_t kWriteReplyLength = 6;
inline constexpr int32_t kBlockTimeout = 4;  // x 250 ms
inline constexpr const char* kLineSettings = "38400,n,8,1";

std::string ReadBlockCommand(int block);

// Sets up and opens the port at device for a transfer: device, kLineSettings, open, RTS, DTR.
// Port failures throw PortError.
void OpenLine(CommControl& port, const std::string& device);
// Closes the port; a port already closed by its own failure is fine.
void CloseLine(CommControl& port);
std::string WriteBlockCommand(int block, const SceneTable& scenes);

// A level a controller cannot hold, where the table holds it.
struct LevelOutOfRange {
    int scene = -1;
    int dimmer = -1;
    int level = 0;

    friend bool operator==(const LevelOutOfRange&, const LevelOutOfRange&) = default;
};

// How a transfer ended.
struct TransferOutcome {
    enum class Kind {
        Done,
        BlockFailed,  // the controller did not answer block `block` after three attempts
        PortFailed,   // the port could not be opened or was lost (at `block`, -1 while opening);
                      // see portDevice, portReason
        LevelOutOfRange,  // Send only: the levels in badLevels are not 0 to 255
        Interrupted,      // stopRequested answered true before block `block`
    };
    Kind kind = Kind::Done;
    int block = -1;
    std::string portDevice;
    std::string portReason;
    // BlockFailed: what each of the block's attempts met.
    std::vector<AttemptResult> attempts;
    // Request frames that went out on the line: none means the controller was not touched.
    int framesSent = 0;
    // Every level outside 0 to 255, in send order.
    std::vector<LevelOutOfRange> badLevels;

    bool ok() const { return kind == Kind::Done; }
};

struct TransferEvents {
    // Block s (0 to 63) is about to be moved.
    std::function<void(int block)> blockStarting;
    // A block failed; runs while the port is still open, before the transfer closes it.
    std::function<void(const TransferOutcome&)> blockFailed;
    // Asked before each block: true ends the transfer there, as if it had failed.
    std::function<bool()> stopRequested;
};

// Every level of scenes a controller cannot hold (outside 0 to 255), in send order.
std::vector<LevelOutOfRange> LevelsOutOfRange(const SceneTable& scenes);

class SceneTransfer {
  public:
    // Moves blocks through link on the port at device, which it opens for each transfer and
    // closes at its end.
    SceneTransfer(ControllerLink& link, std::string device)
        : link_(link), device_(std::move(device)) {}

    // Reads all 64 blocks; Scenes is replaced only when every block arrived.
    TransferOutcome getScenes(SceneTable& scenes, const TransferEvents& events);

    // Writes all 64 blocks; refuses before opening the port when a level is outside 0 to 255.
    TransferOutcome sendScenes(const SceneTable& scenes, const TransferEvents& events);

    // Levels cut from a read reply (pairs beyond a short reply read as HexVal gives them).
    static void copyBlockLevels(const std::string& reply, int block, SceneTable& into);

  private:
    template <typename PerBlock>
    TransferOutcome run(const TransferEvents& events, PerBlock perBlock);

    ControllerLink& link_;
    std::string device_;
};

}  // namespace corvane
