// The network control against a scripted device server on loopback, for what ser2net will not
// do: refuse the COM-PORT-OPTION, set another speed, send 255 bytes in the data, and report line
// and modem state in the middle of a reply.
#include "link/network_control.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <thread>

#include "link/controller_link.h"
#include "link/port_error.h"
#include "tests/link/link_lines.h"

namespace corvane {
namespace {

using namespace std::string_literals;

// A device server that takes one connection and plays a script on it.
class ScriptedServer {
  public:
    explicit ScriptedServer(std::function<void(ScriptedServer&)> script)
        : listener_(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0)) {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t size = sizeof address;
        ::bind(listener_, reinterpret_cast<sockaddr*>(&address), size);
        ::listen(listener_, 1);
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &size);
        port_ = ntohs(address.sin_port);
        thread_ = std::thread([this, script] {
            pollfd p{listener_, POLLIN, 0};
            if (::poll(&p, 1, 5000) <= 0) return;
            peer_ = ::accept(listener_, nullptr, nullptr);
            script(*this);
        });
    }
    ~ScriptedServer() {
        thread_.join();
        if (peer_ >= 0) ::close(peer_);
        ::close(listener_);
    }

    std::string name() const { return "rfc2217://127.0.0.1:" + std::to_string(port_); }

    // Reads until what arrived holds expected; false after three seconds without it.
    bool await(const std::string& expected) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(3);
        while (received.find(expected) == std::string::npos) {
            if (std::chrono::steady_clock::now() > end) return false;
            pollfd p{peer_, POLLIN, 0};
            if (::poll(&p, 1, 50) <= 0) continue;
            char buffer[512];
            const ssize_t n = ::read(peer_, buffer, sizeof buffer);
            if (n <= 0) return false;
            received.append(buffer, static_cast<size_t>(n));
        }
        return true;
    }
    void send(const std::string& bytes) { ::send(peer_, bytes.data(), bytes.size(), MSG_NOSIGNAL); }

    // Takes the COM-PORT-OPTION and answers the line settings with the speed given (four bytes).
    void acceptLine(const std::string& baud = "\x00\x00\x96\x00"s) {
        if (!await("\xff\xfb\x2c")) return;  // IAC WILL COM-PORT-OPTION
        send("\xff\xfd\x2c\xff\xfb\x01");    // IAC DO COM-PORT-OPTION; IAC WILL ECHO, to decline
        if (!await("\xff\xfa\x2c\x0c\x03\xff\xf0")) return;  // PURGE-DATA both, last
        send("\xff\xfa\x2c\x65"s + baud + "\xff\xf0" +       // 101 baud
             "\xff\xfa\x2c\x66\x08\xff\xf0"                  // 102 data bits 8
             "\xff\xfa\x2c\x67\x01\xff\xf0"                  // 103 no parity
             "\xff\xfa\x2c\x68\x01\xff\xf0"                  // 104 one stop bit
             "\xff\xfa\x2c\x69\x01\xff\xf0"                  // 105 no flow control
             "\xff\xfa\x2c\x70\x03\xff\xf0"s);               // 112 purged
    }

    std::string received;

  private:
    int listener_;
    int peer_ = -1;
    uint16_t port_ = 0;
    std::thread thread_;
};

void Open(NetworkControl& comCV, const std::string& name) {
    comCV.setDevice(name);
    comCV.setSettings("38400,n,8,1");
    comCV.setPortOpen(true);
}

TEST(NetworkControl, ServersThatRefuseOrChangeTheLineAreNamed) {
    const struct {
        const char* what;
        std::function<void(ScriptedServer&)> script;
        std::string reason;
    } cases[] = {
        {"refuses COM-PORT-OPTION",
         [](ScriptedServer& s) {
             if (s.await("\xff\xfb\x2c")) s.send("\xff\xfe\x2c");  // IAC DONT COM-PORT-OPTION
         },
         "the device server refuses COM-PORT-OPTION (RFC 2217)"},
        {"answers 9600 baud", [](ScriptedServer& s) { s.acceptLine("\x00\x00\x25\x80"s); },
         "the device server set the baud rate to 9600 when asked for 38400"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ScriptedServer server(c.script);
        NetworkControl comCV;
        try {
            Open(comCV, server.name());
            ADD_FAILURE() << "the port opened";
        } catch (const PortError& e) {
            EXPECT_EQ(e.device(), server.name());
            EXPECT_EQ(e.reason().rfind(c.reason, 0), 0u) << e.reason();
        }
        EXPECT_FALSE(comCV.PortOpen());
    }
}

TEST(NetworkControl, Byte255IsDoubledOnTheWireAndSingleInTheData) {
    ScriptedServer server([](ScriptedServer& s) {
        s.acceptLine();
        if (s.await("a\xff\xff"
                    "b"))
            s.send(
                "x\xff\xff"
                "y");
    });
    NetworkControl comCV;
    Open(comCV, server.name());
    comCV.Output(
        "a\xff"
        "b");
    for (int i = 0; i < 300 && comCV.InBufferCount() < 3; ++i) comCV.waitForInput(10);
    EXPECT_EQ(comCV.Input(),
              "x\xff"
              "y");
}

TEST(NetworkControl, NotificationsInTheMiddleOfAReplyAreLeftOut) {
    const std::string& reply = testing_support::kBlockReply;
    ScriptedServer server([&](ScriptedServer& s) {
        s.acceptLine();
        if (!s.await("[DD0139700003F]")) return;
        s.send(reply.substr(0, 60) + "\xff\xfa\x2c\x6b\x30\xff\xf0"s);  // 107 modem state
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        s.send("\xff\xfa\x2c\x6a\x60\xff\xf0"s + "\xff\xf1" + reply.substr(60));  // 106, NOP
    });
    NetworkControl comCV;
    SteadyStopwatch stopwatch;
    ControllerLink link(comCV, stopwatch, 1);
    Open(comCV, server.name());
    EXPECT_TRUE(link.SendCommand("39700003F", 132, 4));
    EXPECT_EQ(link.RxText, reply);
}

}  // namespace
}  // namespace corvane
