#include <winsock2.h>
// After winsock2.h, which it needs.
#include <mstcpip.h>

#include "link/quick_ack.h"

namespace corvane {

// Windows acknowledges every segment once the frequency is one; older systems refuse the request,
// and then keep their usual timer.
void AcknowledgeAtOnce(qintptr socket) {
    DWORD frequency = 1;
    DWORD returned = 0;
    ::WSAIoctl(static_cast<SOCKET>(socket), SIO_TCP_SET_ACK_FREQUENCY, &frequency, sizeof frequency,
               nullptr, 0, &returned, nullptr, nullptr);
}

}  // namespace corvane
