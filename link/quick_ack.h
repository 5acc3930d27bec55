// Asks the system to acknowledge what arrives on a TCP socket at once instead of after its
// delayed-acknowledgement timer, so that a device server with Nagle's algorithm on sends the rest
// of a reply without waiting for it.
#pragma once

#include <QtGlobal>

namespace corvane {

// socket: the native descriptor (QAbstractSocket::socketDescriptor). Linux turns this off again by
// itself, so it is asked after every read; asking again costs nothing.
void AcknowledgeAtOnce(qintptr socket);

}  // namespace corvane
