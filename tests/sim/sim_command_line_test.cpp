// corvane-sim's command line: every option read, every wrong one refused with a reason.
#include "sim/sim_command_line.h"

#include <gtest/gtest.h>

namespace corvane::sim {
namespace {

using namespace std::chrono_literals;

SimCommandLine Parse(QStringList args) {
    args.prepend(QStringLiteral("corvane-sim"));
    return ParseSimCommandLine(args);
}

// Upper case and the plain acknowledgement show in what corvane-sim sends by default.
TEST(SimCommandLine, DefaultsToNodeOneUnpacedWithLateRepliesAfter1200Ms) {
    const SimCommandLine c = Parse({});
    ASSERT_EQ(c.outcome, SimCommandLine::Outcome::Run) << c.text;
    EXPECT_EQ(c.settings.engine.node, 1);
    EXPECT_EQ(c.settings.engine.lateDelay, 1200ms);
    EXPECT_FALSE(c.settings.paced);
}

TEST(SimCommandLine, ReadsEveryOption) {
    const SimCommandLine c =
        Parse({"--node", "0xFE", "--load", "in.SCN", "--save=out.SCN", "--lower", "--framed-ack",
               "--paced", "--fault", "5:drop:2", "--fault", "63:late:always:read", "--late-ms",
               "250", "--verbose"});
    ASSERT_EQ(c.outcome, SimCommandLine::Outcome::Run) << c.text;
    const SimSettings& s = c.settings;
    EXPECT_EQ(s.engine.node, 254);
    EXPECT_EQ(s.nodes, std::vector<int16_t>{254});
    EXPECT_EQ(s.loadPath, "in.SCN");
    EXPECT_EQ(s.savePath, "out.SCN");
    EXPECT_TRUE(s.engine.lowerCase);
    EXPECT_EQ(s.engine.ack, AckStyle::Framed);
    EXPECT_TRUE(s.paced);
    EXPECT_TRUE(s.verbose);
    EXPECT_EQ(s.engine.lateDelay, 250ms);
    ASSERT_EQ(s.faults.size(), 2u);
    EXPECT_EQ(s.faults[0], (Fault{5, FaultKind::Drop, 2, Direction::Any}));
    EXPECT_EQ(s.faults[1], (Fault{63, FaultKind::Late, kAlways, Direction::Read}));
}

TEST(SimCommandLine, SeveralNodesShareOneLine) {
    const SimCommandLine c = Parse({"--node", "17,3,0x14-0x15"});
    ASSERT_EQ(c.outcome, SimCommandLine::Outcome::Run) << c.text;
    EXPECT_EQ(c.settings.nodes, (std::vector<int16_t>{3, 17, 20, 21}));
    EXPECT_EQ(c.settings.engine.node, 3);
}

TEST(SimCommandLine, HelpExplainsFaultsAndExitStatus) {
    const SimCommandLine c = Parse({"--help"});
    ASSERT_EQ(c.outcome, SimCommandLine::Outcome::Help);
    EXPECT_EQ(c.text.rfind("Usage: corvane-sim [options]\n", 0), 0u) << c.text;
    EXPECT_EQ(c.text.find("--help-all"), std::string::npos);
    for (const char* part : {"--node", "--load", "--save", "--fault", "--paced", "--lower",
                             "--framed-ack", "5:drop:2", "Exit status"})
        EXPECT_NE(c.text.find(part), std::string::npos) << part;
}

TEST(SimCommandLine, RefusesWhatItCannotUseAndSaysWhy) {
    const std::string node =
        "the node must be a node number from 1 to 254, in decimal (10) or in hexadecimal with 0x "
        "(0x0A), or several such as 3,17,20-22";
    const std::pair<QStringList, std::string> cases[] = {
        {{"--node", "0"}, "--node \"0\": " + node},
        {{"--node", "0xFF"}, "--node \"0xFF\": " + node},
        {{"--node", " 5"}, "--node \" 5\": " + node},
        {{"--node", "1", "--node", "2"}, "--node was given more than once"},
        {{"--help-all"}, "Unknown option 'help-all'."},
        {{"--late-ms", "-1"},
         "--late-ms \"-1\": the delay must be a number of milliseconds from 0 to 60000"},
        {{"--fault", "64:drop"}, "fault \"64:drop\": the block must be a number from 0 to 63"},
        {{"--load="}, "--load needs a file name"},
        {{"--bogus"}, "Unknown option 'bogus'."},
        {{"--node"}, "Missing value after '--node'."},
        {{"extra"}, "unexpected argument \"extra\""},
    };
    for (const auto& [args, reason] : cases) {
        const SimCommandLine c = Parse(args);
        EXPECT_EQ(c.outcome, SimCommandLine::Outcome::Error) << reason;
        EXPECT_EQ(c.text, reason);
    }
}

}  // namespace
}  // namespace corvane::sim
