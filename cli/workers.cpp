#include "workers.h"

#include <cstdio>

#include <cerrno>
#include <fcntl.h>
#include <malloc.h>
#include <poll.h>
#include <sys/mman.h>
#include <unistd.h>
#include <utility>

namespace kaleno {

namespace {

// The memory kept for each chunk in flight: its text, its answers about as long, and as much
// again for the rest of the run.
constexpr std::size_t JobBytes = 4 * ChunkReader::ChunkBytes;

// True when `bytes` more can be had. mmap() and not new: a compiler may leave out an allocation
// that is freed unused.
bool roomFor(std::size_t bytes)
{
    void *trial
        = ::mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (trial == MAP_FAILED)
        return false;
    ::munmap(trial, bytes);
    return true;
}

} // namespace

std::thread startThread(std::function<void()> work)
{
    return std::thread(std::move(work));
}

Workers::Workers(const RunOptions &options, const ThreadStarter &start) : m_options(options)
{
    const auto wanted = static_cast<std::size_t>(options.jobs);
    m_threads.reserve(wanted); // so that a thread started is always kept
    if (const std::error_code failure = startThreads(wanted, start))
        makeDoWithFewer(failure, wanted, start);
    if (::pipe2(m_wake.data(), O_CLOEXEC | O_NONBLOCK) != 0)
        m_wake[0] = m_wake[1] = -1; // then waits for the answers alone, not for the input too
}

Workers::~Workers()
{
    stopThreads();
    for (const int end : m_wake) {
        if (end >= 0)
            ::close(end);
    }
}

void Workers::give(std::unique_ptr<Job> job)
{
    if (job->chunk && m_threads.empty()) {
        answerChunk(*job->chunk, m_options, *job->inputName, job->answers);
        job->done = true;
    }
    const std::lock_guard lock(m_mutex);
    if (!job->chunk)
        job->done = true;
    else if (!job->done)
        m_waiting.push_back(job.get());
    m_jobs.push_back(std::move(job));
    m_ready.notify_one();
}

bool Workers::oldestDone()
{
    const std::lock_guard lock(m_mutex);
    return !m_jobs.empty() && m_jobs.front()->done;
}

std::unique_ptr<Job> Workers::takeOldest()
{
    std::unique_lock lock(m_mutex);
    m_answered.wait(lock, [this] { return m_jobs.front()->done; });
    std::unique_ptr<Job> job = std::move(m_jobs.front());
    m_jobs.pop_front();
    return job;
}

bool Workers::waitForInputOrOldest(int descriptor)
{
    {
        std::unique_lock lock(m_mutex);
        if (m_jobs.empty() || m_jobs.front()->done)
            return false;
        if (m_wake[0] < 0) {
            m_answered.wait(lock, [this] { return m_jobs.front()->done; });
            return false;
        }
        m_watched = m_jobs.front().get();
    }
    std::array<pollfd, 2> wanted {{{descriptor, POLLIN, 0}, {m_wake[0], POLLIN, 0}}};
    while (::poll(wanted.data(), wanted.size(), -1) < 0 && errno == EINTR) { }
    {
        const std::lock_guard lock(m_mutex);
        m_watched = nullptr;
    }
    for (char drained[16]; ::read(m_wake[0], drained, sizeof drained) > 0;) { }
    return wanted[0].revents != 0;
}

// Starts threads until there are `count`; the error of the start that failed, if one did.
std::error_code Workers::startThreads(std::size_t count, const ThreadStarter &start)
{
    m_closing = false;
    try {
        while (m_threads.size() < count)
            m_threads.push_back(start([this] { work(); }));
    } catch (const std::system_error &error) {
        return error.code();
    }
    return {};
}

// Thread m_threads.size() + 1 could not start: the run goes on with those that did, or fewer,
// and says so.
void Workers::makeDoWithFewer(
    const std::error_code &failure, std::size_t wanted, const ThreadStarter &start)
{
    const std::size_t failed = m_threads.size() + 1;
    // The threads share the allocator's arenas there are: one that cannot make its own would
    // map memory for every allocation.
    mallopt(M_ARENA_MAX, 1);
    // A system out of threads may be out of memory too: threads, and their stacks, are given
    // back until the chunks in flight have room.
    while (!m_threads.empty() && !roomFor(maxInFlight() * JobBytes)) {
        const std::size_t fewer = m_threads.size() / 2;
        stopThreads();
        startThreads(fewer, start);
    }
    std::fprintf(stderr, "kaleno-solve: warning: cannot start thread %zu of %zu (%s): ", failed,
        wanted, failure.message().c_str());
    if (m_threads.empty())
        std::fputs("answering on the main thread alone\n", stderr);
    else
        std::fprintf(stderr, "answering on %zu\n", m_threads.size());
}

void Workers::stopThreads()
{
    {
        const std::lock_guard lock(m_mutex);
        m_closing = true;
    }
    m_ready.notify_all();
    for (std::thread &thread : m_threads)
        thread.join();
    m_threads.clear();
}

void Workers::work()
{
    for (;;) {
        Job *job = nullptr;
        {
            std::unique_lock lock(m_mutex);
            m_ready.wait(lock, [this] { return m_closing || !m_waiting.empty(); });
            if (m_waiting.empty())
                return;
            job = m_waiting.front();
            m_waiting.pop_front();
        }
        // The job's answers are this thread's alone until it is done.
        answerChunk(*job->chunk, m_options, *job->inputName, job->answers);
        {
            const std::lock_guard lock(m_mutex);
            job->done = true;
            if (job == m_watched) {
                m_watched = nullptr;
                [[maybe_unused]] const ssize_t woken = ::write(m_wake[1], "", 1);
            }
        }
        m_answered.notify_all();
    }
}

} // namespace kaleno
