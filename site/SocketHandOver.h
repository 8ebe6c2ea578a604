#pragma once

#include <string>

namespace site {

// The listening socket a service manager hands over when it starts the
// server on a first connection (systemd's socket activation: LISTEN_PID
// names this process, LISTEN_FDS counts the descriptors from 3 on).
struct SocketHandOver
{
    enum class Kind
    {
        none,
        socket,
        refused
    };
    Kind kind = Kind::none;
    int fd = -1;       // with socket: the listening stream socket
    std::string error; // with refused: what is wrong with the hand-over
};

// Reads and clears the LISTEN_* variables, so that nothing started later
// takes them for its own. Exactly one listening stream socket is served;
// anything else is refused rather than ignored, since a server that bound
// by itself instead would fight the service manager for the address.
SocketHandOver takeHandedOverSocket();

} // namespace site
