#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>

#include "link/quick_ack.h"

namespace corvane {

void AcknowledgeAtOnce(qintptr socket) {
    const int on = 1;
    ::setsockopt(static_cast<int>(socket), IPPROTO_TCP, TCP_QUICKACK, &on, sizeof on);
}

}  // namespace corvane
