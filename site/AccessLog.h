#pragma once

#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

namespace site {

// One line per request, collected in memory and written to a file descriptor
// by a background thread every 200 ms (or sooner when 64 KB are waiting),
// so that a busy server does not pay a system call per request.
class AccessLog
{
public:
    explicit AccessLog(int fd);
    ~AccessLog(); // writes what is left

    AccessLog(const AccessLog &) = delete;
    AccessLog &operator=(const AccessLog &) = delete;

    void add(std::string_view line);

private:
    void run();
    void writeOut(const std::string &text) const;

    int m_fd;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::string m_pending;
    bool m_stopping = false;
    std::thread m_writer;
};

} // namespace site
