// The network control against a scripted device server on loopback, for what ser2net will not
// do: refuse the COM-PORT-OPTION, set another speed, send 255 in the data, and report line and
// modem state in the middle of a reply.
#include "link/network_control.h"

#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <functional>
#include <thread>

#include "link/controller_link.h"
#include "link/port_error.h"
#include "tests/link/link_lines.h"

namespace corvane {
namespace {

using namespace std::string_literals;

// Takes one connection on loopback and plays a script on it.
class ScriptedServer {
  public:
    explicit ScriptedServer(const std::function<void(ScriptedServer&)>& script) {
        sockaddr_in address{AF_INET, 0, {htonl(INADDR_LOOPBACK)}, {}};
        socklen_t size = sizeof address;
        (void)::bind(listener_, reinterpret_cast<sockaddr*>(&address), size);
        ::listen(listener_, 1);
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &size);
        name = "rfc2217://127.0.0.1:" + std::to_string(ntohs(address.sin_port));
        thread_ = std::thread([this, script] {
            pollfd p{listener_, POLLIN, 0};
            if (::poll(&p, 1, 5000) <= 0) return;
            peer_ = ::accept(listener_, nullptr, nullptr);
            script(*this);
        });
    }
    ~ScriptedServer() { thread_.join(), ::close(peer_), ::close(listener_); }
    // Reads until what arrived holds expected; false after three seconds without it.
    bool await(const std::string& expected) {
        for (int i = 0; i < 60 && received_.find(expected) == std::string::npos; ++i) {
            pollfd p{peer_, POLLIN, 0};
            char buffer[512];
            const ssize_t n = ::poll(&p, 1, 50) > 0 ? ::read(peer_, buffer, sizeof buffer) : 0;
            if (n > 0) received_.append(buffer, static_cast<size_t>(n));
        }
        return received_.find(expected) != std::string::npos;
    }
    void send(const std::string& bytes) { ::send(peer_, bytes.data(), bytes.size(), MSG_NOSIGNAL); }
    // Takes the COM-PORT-OPTION and answers the line settings with the speed given.
    void acceptLine(const std::string& baud = "\x00\x00\x96\x00"s) {
        if (!await("\xff\xfb\x2c")) return;  // IAC WILL COM-PORT-OPTION
        send("\xff\xfd\x2c\xff\xfb\x01");    // IAC DO COM-PORT-OPTION; IAC WILL ECHO, declined
        if (!await("\xff\xfa\x2c\x0c\x03\xff\xf0")) return;  // PURGE-DATA both, the last
        send("\xff\xfa\x2c\x65"s + baud + "\xff\xf0" +       // 101 baud
             "\xff\xfa\x2c\x66\x08\xff\xf0"                  // 102 data bits 8
             "\xff\xfa\x2c\x67\x01\xff\xf0"                  // 103 no parity
             "\xff\xfa\x2c\x68\x01\xff\xf0"                  // 104 one stop bit
             "\xff\xfa\x2c\x69\x01\xff\xf0"                  // 105 no flow control
             "\xff\xfa\x2c\x70\x03\xff\xf0"s);               // 112 purged
    }

    std::string name;

  private:
    int listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    int peer_ = -1;
    std::string received_;
    std::thread thread_;
};

void Open(NetworkControl& comCV, const std::string& name) {
    comCV.setDevice(name);
    comCV.setSettings("38400,n,8,1");
    comCV.setPortOpen(true);
}

TEST(NetworkControl, ServersThatRefuseOrChangeTheLineAreNamed) {
    const struct {
        std::function<void(ScriptedServer&)> script;
        std::string reason;
    } cases[] = {
        {[](ScriptedServer& s) {
             if (s.await("\xff\xfb\x2c")) s.send("\xff\xfe\x2c");  // IAC DONT COM-PORT-OPTION
         },
         "the device server refuses COM-PORT-OPTION (RFC 2217)"},
        {[](ScriptedServer& s) { s.acceptLine("\x00\x00\x25\x80"s); },
         "the device server set the baud rate to 9600 when asked for 38400"},
    };
    for (const auto& c : cases) {
        ScriptedServer server(c.script);
        NetworkControl comCV;
        try {
            Open(comCV, server.name);
            ADD_FAILURE() << "the port opened";
        } catch (const PortError& e) {
            EXPECT_EQ(e.device() + ": " + e.reason().substr(0, c.reason.size()),
                      server.name + ": " + c.reason);
        }
        EXPECT_FALSE(comCV.PortOpen());
    }
}

TEST(NetworkControl, Byte255IsDoubledOnTheWireAndNotificationsInsideAReplyAreLeftOut) {
    const std::string& reply = testing_support::kBlockReply;
    ScriptedServer server([&](ScriptedServer& s) {
        s.acceptLine();
        if (!s.await("[DD0139700003F]")) return;
        s.send(reply.substr(0, 60) + "\xff\xfa\x2c\x6b\x30\xff\xf0"s);  // 107 modem state
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        s.send("\xff\xfa\x2c\x6a\x60\xff\xf0\xff\xf1"s + reply.substr(60));  // 106 line state, NOP
        if (s.await("a\xff\xff"
                    "b"))
            s.send(
                "x\xff\xff"
                "y");
    });
    NetworkControl comCV;
    SteadyStopwatch stopwatch;
    ControllerLink link(comCV, stopwatch, 1);
    Open(comCV, server.name);
    EXPECT_TRUE(link.SendCommand("39700003F", 132, 4));
    EXPECT_EQ(link.RxText, reply);
    comCV.Output(
        "a\xff"
        "b");
    for (int i = 0; i < 300 && comCV.InBufferCount() < 3; ++i) comCV.waitForInput(10);
    EXPECT_EQ(comCV.Input(),
              "x\xff"
              "y");
}

}  // namespace
}  // namespace corvane
