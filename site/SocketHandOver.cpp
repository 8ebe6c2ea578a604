#include "site/SocketHandOver.h"

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string_view>

namespace site {

namespace {

constexpr int firstHandedOverFd = 3;

bool parsePositive(const char *text, long &value)
{
    if (!text || !*text)
        return false;
    char *end = nullptr;
    errno = 0;
    value = std::strtol(text, &end, 10);
    return errno == 0 && *end == '\0' && value > 0;
}

SocketHandOver refuse(std::string error)
{
    return {SocketHandOver::Kind::refused, -1, std::move(error)};
}

// Why fd cannot be served, or empty when it is a listening stream socket.
std::string unsuitable(int fd)
{
    struct stat status
    {
    };
    if (::fstat(fd, &status) != 0)
        return "descriptor 3 is not open";
    if (!S_ISSOCK(status.st_mode))
        return "descriptor 3 is not a socket";
    int type = 0;
    int listening = 0;
    socklen_t length = sizeof type;
    if (::getsockopt(fd, SOL_SOCKET, SO_TYPE, &type, &length) != 0 || type != SOCK_STREAM)
        return "descriptor 3 is not a stream socket";
    length = sizeof listening;
    if (::getsockopt(fd, SOL_SOCKET, SO_ACCEPTCONN, &listening, &length) != 0 || !listening)
        return "descriptor 3 is a stream socket that is not listening";
    return {};
}

} // namespace

SocketHandOver takeHandedOverSocket()
{
    const char *fds = std::getenv("LISTEN_FDS");
    const char *pid = std::getenv("LISTEN_PID");
    const std::string fdsText = fds ? fds : "";
    const std::string pidText = pid ? pid : "";
    ::unsetenv("LISTEN_FDS");
    ::unsetenv("LISTEN_PID");
    ::unsetenv("LISTEN_FDNAMES");
    if (fds == nullptr)
        return {};

    long owner = 0;
    if (!parsePositive(pidText.c_str(), owner))
        return refuse("LISTEN_FDS is set but LISTEN_PID does not name a process");
    if (owner != ::getpid())
        return refuse("the sockets in LISTEN_FDS are for process " + pidText + ", not this one (" +
                      std::to_string(::getpid()) + ")");
    long count = 0;
    if (!parsePositive(fdsText.c_str(), count) || count != 1)
        return refuse("LISTEN_FDS is " + fdsText + "; one listening socket is served");
    if (std::string why = unsuitable(firstHandedOverFd); !why.empty())
        return refuse(why);

    // Blocking, as the HTTP library's accept loop expects; not inherited by
    // anything the server might start.
    const int flags = ::fcntl(firstHandedOverFd, F_GETFL);
    if (flags < 0 || ::fcntl(firstHandedOverFd, F_SETFL, flags & ~O_NONBLOCK) != 0 ||
        ::fcntl(firstHandedOverFd, F_SETFD, FD_CLOEXEC) != 0)
        return refuse("descriptor 3 cannot be set up for serving");
    return {SocketHandOver::Kind::socket, firstHandedOverFd, {}};
}

} // namespace site
