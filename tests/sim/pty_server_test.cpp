// The simulator on a real pseudo-terminal, driven by a bare client with literal frames.
#include "sim/pty_server.h"

#include <gtest/gtest.h>

#include "tests/sim/sim_test_support.h"
#include "tests/support/pseudo_terminal.h"

namespace corvane::sim {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using RawClient = testing_support::PseudoTerminal;

// A transfer opens the port once, tests open it many times: the line must survive every close.
TEST(PtyServer, AnswersLiteralFramesExactlyToClientAfterClient) {
    PtyServer server(KnownEngine());
    for (int i = 0; i < 20; ++i) {
        RawClient client(server.devicePath());
        ASSERT_TRUE(client.isOpen()) << "open " << i;
        ASSERT_TRUE(client.write(kReadBlock0));
        ASSERT_EQ(client.read(132, 2s), kReply0) << "open " << i;
    }
    // A reply nobody reads waits on the line for the next client, as on a real cable.
    {
        RawClient client(server.devicePath());
        ASSERT_TRUE(client.write(kReadBlock63));
        ASSERT_TRUE(server.waitForRequests(21, 2s));
    }
    RawClient later(server.devicePath());
    EXPECT_EQ(later.read(132, 2s), kReply63);
    EXPECT_EQ(later.read(1, 50ms), "") << "nothing after the reply";
}

// A late reply comes only after its delay, and holds back no other.
TEST(PtyServer, LateReplyComesOnlyAfterItsDelayAndHoldsBackNoOther) {
    PtyServer server(KnownEngine(EngineOptions{.lateDelay = 300ms}));
    server.addFault({0, FaultKind::Late, 1, Direction::Any});
    RawClient client(server.devicePath());
    const auto sent = Clock::now();
    ASSERT_TRUE(client.write(kReadBlock0));
    ASSERT_TRUE(server.waitForRequests(1, 2s));
    ASSERT_TRUE(client.write(kReadBlock63));
    EXPECT_EQ(client.read(132, 2s), kReply63);
    EXPECT_EQ(client.read(1, 100ms), "");
    EXPECT_EQ(client.read(132, 2s), kReply0);
    EXPECT_GE(Clock::now() - sent, 300ms);
}

// At 38400 baud and 10 bits a character, a 15-character request and a 132-character reply take
// 147 x 0.26 ms = 38.3 ms on a cable: a paced reply cannot be complete any sooner, nor can its
// first character come before the request's last.
TEST(PtyServer, PacedLineTakesCableTime) {
    PtyServer server(KnownEngine(), PtyServerOptions{.paced = true});
    RawClient client(server.devicePath());
    const auto sent = Clock::now();
    ASSERT_TRUE(client.write(kReadBlock0));
    const std::string first = client.read(1, 2s);
    const auto firstAt = Clock::now();
    const std::string rest = client.read(132 - first.size(), 2s);
    const auto doneAt = Clock::now();
    EXPECT_EQ(first + rest, kReply0);
    EXPECT_GE(firstAt - sent, 16 * kCharacterTime);
    EXPECT_GE(doneAt - sent, 147 * kCharacterTime);

    // A write: 143 characters in, a 6-character acknowledgement out.
    const auto writeSent = Clock::now();
    ASSERT_TRUE(client.write(kWriteBlock0Zeros));
    EXPECT_EQ(client.read(6, 2s), "{--}01");
    EXPECT_GE(Clock::now() - writeSent, 149 * kCharacterTime);
}

TEST(PtyServer, StopsPromptlyWithReplyPending) {
    auto server = std::make_unique<PtyServer>(KnownEngine());
    server->addFault({0, FaultKind::Late, 1, Direction::Any});
    RawClient client(server->devicePath());
    ASSERT_TRUE(client.write(kReadBlock0));
    ASSERT_TRUE(server->waitForRequests(1, 2s));
    const auto start = Clock::now();
    server.reset();
    EXPECT_LT(Clock::now() - start, 500ms);
    EXPECT_TRUE(client.hangsUpWithin(2s));
}

}  // namespace
}  // namespace corvane::sim
