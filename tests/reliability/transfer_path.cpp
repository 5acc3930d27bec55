// One cell of the fault matrix through the transfer layer.
#include "tests/reliability/transfer_path.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <sstream>
#include <string>

#include "connection/controller_connection.h"
#include "link/qt_serial_control.h"
#include "sim/pty_server.h"
#include "tests/document/as_other_user.h"
#include "tests/reliability/serial_group.h"
#include "tests/reliability/whole_or_nothing.h"
#include "tests/support/watchdog.h"
#include "transfer/scene_transfer.h"
#include "transfer/transfer_report.h"

namespace corvane::reliability {
namespace {

using Clock = std::chrono::steady_clock;

constexpr char kMissingDevice[] = "/dev/ttyCorvaneNoSuchAdapter0";

// What one transfer did, as plain values so that a child process can hand them back.
struct Ending {
    TransferOutcome outcome;
    int failuresShown = 0;  // blockFailed calls: the window shows its error message from there
    bool portLeftOpen = false;
    SceneTable table;  // Get: the table afterwards
    std::chrono::milliseconds took{0};
};

Ending Transfer(const Cell& cell, const std::string& device) {
    const std::unique_ptr<ControllerConnection> connection = ConnectSerial(device, 1);

    Ending e;
    e.table = ToolShow();
    TransferEvents events;
    events.blockFailed = [&e](const TransferOutcome&) { ++e.failuresShown; };
    const auto start = Clock::now();
    e.outcome = cell.way == Way::Get ? connection->getScenes(e.table, events)
                                     : connection->sendScenes(e.table, events);
    e.took = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start);
    e.portLeftOpen = connection->comCV().PortOpen();
    return e;
}

std::string Encode(const Ending& e) {
    std::ostringstream out;
    out << static_cast<int>(e.outcome.kind) << '\n'
        << e.outcome.block << '\n'
        << e.failuresShown << '\n'
        << e.portLeftOpen << '\n'
        << (e.table == ToolShow()) << '\n'
        << e.took.count() << '\n'
        << e.outcome.portDevice << '\n'
        << e.outcome.portReason << '\n';
    return out.str();
}

Ending Decode(const std::string& text) {
    std::istringstream in(text);
    Ending e;
    int kind = 0;
    bool tableKept = false;
    long long took = 0;
    in >> kind >> e.outcome.block >> e.failuresShown >> e.portLeftOpen >> tableKept >> took;
    in.ignore();
    std::getline(in, e.outcome.portDevice);
    std::getline(in, e.outcome.portReason);
    e.outcome.kind = static_cast<TransferOutcome::Kind>(kind);
    e.table = tableKept ? ToolShow() : SceneTable{};
    e.took = std::chrono::milliseconds(took);
    return e;
}

// The transfer run by an ordinary user, who may not open the device.
Ending TransferAsOrdinaryUser(const Cell& cell, const std::string& device) {
    RestrictToSerialGroup(device);
    const std::optional<std::string> text =
        testing_support::asOrdinaryUser([&] { return Encode(Transfer(cell, device)); });
    if (!text) {
        ADD_FAILURE() << "the transfer as an ordinary user did not finish";
        return {};
    }
    return Decode(*text);
}

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

void ExpectClearReport(const Cell& cell, const Ending& e, const std::string& device) {
    EXPECT_FALSE(e.portLeftOpen) << "the port was left open";
    if (e.outcome.ok()) {
        EXPECT_EQ(e.failuresShown, 0);
        return;
    }
    if (cell.isOpenFailure() || cell.trouble == Trouble::Close) {
        ASSERT_EQ(e.outcome.kind, TransferOutcome::Kind::PortFailed);
        EXPECT_EQ(e.outcome.portDevice, device);
        EXPECT_EQ(e.failuresShown, 0) << "a lost port is no block error";
        const std::string text = DescribePortFailure(e.outcome, "COM9");
        EXPECT_TRUE(Contains(text, device)) << text;
        EXPECT_TRUE(Contains(e.outcome.portReason, OpenFailureReason(cell.trouble)))
            << e.outcome.portReason;
        EXPECT_FALSE(e.outcome.portReason.empty());
        return;
    }
    ASSERT_EQ(e.outcome.kind, TransferOutcome::Kind::BlockFailed);
    EXPECT_EQ(e.outcome.block, cell.block) << "the failure names the wrong block";
    EXPECT_EQ(e.failuresShown, 1) << "the block error is shown once";
}

}  // namespace

void CheckTransferCell(const Cell& cell) {
    const testing_support::Watchdog deadline(std::chrono::seconds(30), CellName(cell));
    sim::PtyServer server{sim::ControllerEngine()};
    const Before before = StartingPoint(cell, TableBytes(ToolShow()));
    server.setMemory(before.memory);
    if (const std::optional<sim::Fault> fault = cell.fault()) server.addFault(*fault);

    std::string device = server.devicePath();
    Ending e;
    switch (cell.trouble) {
        case Trouble::Missing:
            device = kMissingDevice;
            e = Transfer(cell, device);
            break;
        case Trouble::Busy: {
            QtSerialControl holder;
            holder.setDevice(device);
            holder.setPortOpen(true);
            e = Transfer(cell, device);
            EXPECT_TRUE(holder.PortOpen()) << "the other program lost its port";
            break;
        }
        case Trouble::NoPermission:
            e = TransferAsOrdinaryUser(cell, device);
            break;
        default:
            e = Transfer(cell, device);
    }
    ExpectClearReport(cell, e, device);
    if (cell.isOpenFailure()) {
        EXPECT_TRUE(server.requests().empty()) << "a request went out on a failed open";
    }

    Observed after;
    after.reportedDone = e.outcome.ok();
    after.held = TableBytes(e.table);
    after.memory = server.memory();
    after.took = e.took;
    ExpectWholeOrNothing(cell, before, after);
}

}  // namespace corvane::reliability
