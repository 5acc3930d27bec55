// One cell of the fault matrix through the transfer layer.
#include <gtest/gtest.h>

#include <chrono>
#include <sstream>
#include <string>

#include "connection/controller_connection.h"
#include "link/qt_serial_control.h"
#include "sim/pty_server.h"
#include "tests/reliability/fault_cell.h"
#include "tests/reliability/whole_or_nothing.h"
#include "tests/support/ordinary_user.h"
#include "tests/support/scene_files.h"
#include "transfer/scene_transfer.h"
#include "transfer/transfer_report.h"

namespace corvane::reliability {
namespace {

using Clock = std::chrono::steady_clock;
using testing_support::SceneBytes;

// What one transfer did, as plain values so that a child process can hand them back.
struct Ending {
    TransferOutcome outcome;
    int failuresShown = 0;  // blockFailed calls: the window shows its error message from there
    int blocksStarted = 0;
    bool portLeftOpen = false;
    SceneTable table;  // Get: the table afterwards
    long long tookMs = 0;
};

Ending Transfer(const Cell& cell, const std::string& device) {
    const std::unique_ptr<ControllerConnection> connection = ConnectSerial(device, 1);
    Ending e;
    e.table = ToolShow();
    TransferEvents events;
    events.blockFailed = [&e](const TransferOutcome&) { ++e.failuresShown; };
    events.blockStarting = [&e](int) { ++e.blocksStarted; };
    const auto start = Clock::now();
    e.outcome = cell.way == Way::Get ? connection->getScenes(e.table, events)
                                     : connection->sendScenes(e.table, events);
    e.tookMs = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
    e.portLeftOpen = connection->comCV().PortOpen();
    return e;
}

// The transfer run by an ordinary user, who may not open the device, handed back as text.
Ending TransferAsOrdinaryUser(const Cell& cell, const std::string& device) {
    testing_support::RestrictToSerialGroup(device);
    const std::optional<std::string> text = testing_support::AsOrdinaryUser([&] {
        const Ending e = Transfer(cell, device);
        std::ostringstream out;
        out << static_cast<int>(e.outcome.kind) << ' ' << e.outcome.block << ' ' << e.failuresShown
            << ' ' << e.blocksStarted << ' ' << e.portLeftOpen << ' ' << (e.table == ToolShow())
            << ' ' << e.tookMs << '\n'
            << e.outcome.portDevice << '\n'
            << e.outcome.portReason << '\n';
        return out.str();
    });
    Ending e;
    if (!text) {
        ADD_FAILURE() << "the transfer as an ordinary user did not finish";
        return e;
    }
    std::istringstream in(*text);
    int kind = 0;
    bool tableKept = false;  // else it shows as neither table
    in >> kind >> e.outcome.block >> e.failuresShown >> e.blocksStarted >> e.portLeftOpen >>
        tableKept >> e.tookMs;
    e.table = tableKept ? ToolShow() : SceneTable{};
    in.ignore();
    std::getline(in, e.outcome.portDevice);
    std::getline(in, e.outcome.portReason);
    e.outcome.kind = static_cast<TransferOutcome::Kind>(kind);
    return e;
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
        if (cell.isOpenFailure()) {
            EXPECT_EQ(e.blocksStarted, 0) << "a block was started on a port that never opened";
        }
        return;
    }
    ASSERT_EQ(e.outcome.kind, TransferOutcome::Kind::BlockFailed);
    EXPECT_EQ(e.outcome.block, cell.block) << "the failure names the wrong block";
    EXPECT_EQ(e.failuresShown, 1) << "the block error is shown once";
}

}  // namespace

void CheckTransferCell(const Cell& cell) {
    sim::PtyServer server{sim::ControllerEngine()};
    const Before before = StartingPoint(cell, SceneBytes(ToolShow()));
    server.setMemory(before.memory);
    if (const std::optional<sim::Fault> fault = cell.fault()) server.addFault(*fault);

    const std::string device =
        cell.trouble == Trouble::Missing ? "/dev/ttyCorvaneNoSuchAdapter0" : server.devicePath();
    QtSerialControl holder;  // another program holding the port
    if (cell.trouble == Trouble::Busy) {
        holder.setDevice(device);
        holder.setPortOpen(true);
    }
    const Ending e = cell.trouble == Trouble::NoPermission ? TransferAsOrdinaryUser(cell, device)
                                                           : Transfer(cell, device);
    if (cell.trouble == Trouble::Busy) {
        EXPECT_TRUE(holder.PortOpen()) << "the other program lost its port";
    }
    ExpectClearReport(cell, e, device);
    if (cell.isOpenFailure()) {
        EXPECT_TRUE(server.requests().empty()) << "a request went out on a failed open";
    }

    Observed after;
    after.reportedDone = e.outcome.ok();
    after.held = SceneBytes(e.table);
    after.memory = server.memory();
    after.took = std::chrono::milliseconds(e.tookMs);
    ExpectWholeOrNothing(cell, before, after);
}

}  // namespace corvane::reliability
