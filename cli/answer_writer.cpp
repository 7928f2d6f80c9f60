#include "answer_writer.h"

#include <cstdio>

#include <cerrno>
#include <poll.h>
#include <string_view>
#include <unistd.h>

namespace kaleno {

namespace {

void waitForOutput()
{
    pollfd output {STDOUT_FILENO, POLLOUT, 0};
    while (::poll(&output, 1, -1) < 0 && errno == EINTR) { }
}

} // namespace

bool AnswerWriter::write(const ChunkAnswers &answers)
{
    std::fwrite(answers.errors.data(), 1, answers.errors.size(), stderr);
    m_stats.add(answers.stats);
    std::string_view out = answers.out;
    if (m_pretty && !m_wroteAny && !out.empty()) {
        out.remove_prefix(1); // no blank line before the first answer
    }
    m_wroteAny = m_wroteAny || !out.empty();
    while (!out.empty() && m_error == 0) {
        const ssize_t written = ::write(STDOUT_FILENO, out.data(), out.size());
        if (written >= 0)
            out.remove_prefix(static_cast<std::size_t>(written));
        else if (errno == EAGAIN || errno == EWOULDBLOCK)
            waitForOutput(); // an output that does not wait is full: its reader is late
        else if (errno != EINTR)
            m_error = errno;
    }
    return m_error == 0;
}

} // namespace kaleno
