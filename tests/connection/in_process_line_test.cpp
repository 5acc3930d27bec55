// The built-in simulated controller served inside the process (Windows' --port sim): Get and Send
// of the demo show through the tool's own transfer, under the faults every line must survive.
#include "sim/in_process_line.h"

#include <gtest/gtest.h>

#include "connection/controller_connection.h"
#include "link/stopwatch.h"
#include "sim/demo_show.h"

namespace corvane {
namespace {

using sim::FaultKind;
using Kind = TransferOutcome::Kind;

struct Row {
    bool get;
    std::vector<sim::Fault> faults;
    Kind kind;
    int block;  // the block that failed or where the line was lost, -1 when none did
};

TEST(InProcessLine, MovesTheWholeTableOrReportsWhereItStopped) {
    const std::vector<Row> rows = {
        {true, {}, Kind::Done, -1},
        {false, {}, Kind::Done, -1},
        {true,
         {{5, FaultKind::Drop, 2}, {9, FaultKind::Late, 1}, {12, FaultKind::Noise, 1}},
         Kind::Done,
         -1},
        {false, {{5, FaultKind::BadSum, 2}, {7, FaultKind::Extra, 1}}, Kind::Done, -1},
        {true, {{20, FaultKind::BadSum, sim::kAlways}}, Kind::BlockFailed, 20},
        {false, {{3, FaultKind::Short, sim::kAlways}}, Kind::BlockFailed, 3},
        {true, {{30, FaultKind::Close, 1}}, Kind::PortFailed, 30},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message()
                     << (row.get ? "get" : "send") << " with " << row.faults.size() << " faults");
        sim::ControllerEngine engine;
        engine.setMemory(sim::DemoMemory());
        auto controller = std::make_shared<sim::InProcessController>(std::move(engine), false);
        for (const sim::Fault& f : row.faults) controller->addFault(f);
        ControllerConnection connection("sim", 1, std::make_unique<sim::InProcessLine>(controller),
                                        std::make_unique<SteadyStopwatch>());
        const SceneTable sent = SceneTable::with({{0, 0, 1}, {63, 63, 255}});
        SceneTable table = row.get ? SceneTable::with({{1, 1, 7}}) : sent;
        const SceneTable before = table;
        const TransferOutcome outcome =
            row.get ? connection.getScenes(table, {}) : connection.sendScenes(table, {});
        EXPECT_EQ(outcome.kind, row.kind);
        EXPECT_FALSE(connection.comCV().PortOpen());
        if (row.kind != Kind::Done) {
            EXPECT_EQ(outcome.block, row.block);
            EXPECT_EQ(table, before);
        } else if (row.get) {
            EXPECT_EQ(table, sim::ToSceneTable(sim::DemoMemory()));
        } else {
            EXPECT_EQ(sim::ToSceneTable(controller->memory()), sent);
        }
        if (row.kind == Kind::PortFailed) {
            EXPECT_EQ(outcome.portDevice, "sim");
            EXPECT_NE(outcome.portReason.find("the line was lost"), std::string::npos);
        }
    }
}

}  // namespace
}  // namespace corvane
