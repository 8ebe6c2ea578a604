#include "site/AccessLog.h"

#include <cerrno>
#include <chrono>
#include <unistd.h>

namespace site {

namespace {
constexpr std::size_t flushSize = 64 * 1024;
constexpr auto flushInterval = std::chrono::milliseconds(200);
} // namespace

AccessLog::AccessLog(int fd) : m_fd(fd), m_writer([this] { run(); }) {}

AccessLog::~AccessLog()
{
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_wake.notify_one();
    m_writer.join();
}

void AccessLog::add(std::string_view line)
{
    bool full = false;
    {
        std::lock_guard lock(m_mutex);
        m_pending.append(line);
        m_pending += '\n';
        full = m_pending.size() >= flushSize;
    }
    if (full)
        m_wake.notify_one();
}

void AccessLog::run()
{
    std::string batch;
    for (;;) {
        bool stopping = false;
        {
            std::unique_lock lock(m_mutex);
            m_wake.wait_for(lock, flushInterval,
                            [this] { return m_stopping || m_pending.size() >= flushSize; });
            batch.swap(m_pending);
            stopping = m_stopping;
        }
        writeOut(batch);
        batch.clear();
        if (stopping)
            return;
    }
}

void AccessLog::writeOut(const std::string &text) const
{
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(m_fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return; // a closed or full log must not stop the server
        done += static_cast<std::size_t>(n);
    }
}

} // namespace site
