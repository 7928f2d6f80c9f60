#pragma once

#include "chunk_work.h"

#include <algorithm>
#include <array>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

namespace kaleno {

/// Starts a thread running `work`; throws std::system_error when the system has none to give.
using ThreadStarter = std::function<std::thread(std::function<void()> work)>;

/// std::thread's own start.
std::thread startThread(std::function<void()> work);

/// A chunk from its reading to its answers. A job without a chunk only carries a message.
struct Job
{
    std::optional<Chunk> chunk;
    const std::string *inputName = nullptr;
    ChunkAnswers answers;
    bool done = false;
};

/// Answers chunks on a few threads; their answers are taken in the order they were given.
class Workers
{
public:
    /// Starts `options.jobs` threads; when fewer can start, it warns and answers on those, or
    /// on the calling thread alone.
    Workers(const RunOptions &options, const ThreadStarter &start);
    ~Workers();

    /// The threads that answer: those started, or the calling one.
    int threads() const { return std::max(1, static_cast<int>(m_threads.size())); }

    /// Enough chunks in flight to keep every thread busy while the oldest is written.
    std::size_t maxInFlight() const { return 2 * static_cast<std::size_t>(threads()) + 1; }

    /// Chunks given and not yet taken.
    std::size_t inFlight() const { return m_jobs.size(); }

    void give(std::unique_ptr<Job> job);

    /// True when the oldest job given is answered.
    bool oldestDone();

    /// The oldest job given, once it is answered.
    std::unique_ptr<Job> takeOldest();

    /// Waits until `descriptor` can be read or the oldest job is answered; true for the input.
    bool waitForInputOrOldest(int descriptor);

private:
    std::error_code startThreads(std::size_t count, const ThreadStarter &start);
    void makeDoWithFewer(
        const std::error_code &failure, std::size_t wanted, const ThreadStarter &start);
    void stopThreads();
    void work();

    const RunOptions &m_options;
    std::mutex m_mutex;
    std::condition_variable m_ready; // a chunk waits, or the workers may go
    std::condition_variable m_answered; // a job was answered
    std::deque<std::unique_ptr<Job>> m_jobs; // given and not taken, in order
    std::deque<Job *> m_waiting; // given and not started
    bool m_closing = false;
    Job *m_watched = nullptr; // the main thread waits in poll() for this job, or the input
    std::array<int, 2> m_wake {-1, -1}; // written to end that wait: the pipe's two ends
    std::vector<std::thread> m_threads;
};

} // namespace kaleno
