#include "solve_run.h"

#include "chunk_work.h"

#include <array>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <deque>
#include <memory>
#include <mutex>
#include <system_error>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <fcntl.h>
#include <malloc.h>
#include <optional>
#include <poll.h>
#include <ratio>
#include <string>
#include <string_view>
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace kaleno {

namespace {

// The slowest grids are timed this many times again, each keeping its fastest time, so that a
// busy moment of the machine does not make a grid look slow.
constexpr int Retimings = 5;

// A chunk from its reading to its answers. A job without a chunk only carries a message.
struct Job
{
    std::optional<Chunk> chunk;
    const std::string *inputName = nullptr;
    ChunkAnswers answers;
    bool done = false;
};

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

// Answers chunks on a few threads; their answers are taken in the order they were given.
class Workers
{
public:
    Workers(const RunOptions &options, const ThreadStarter &start) : m_options(options)
    {
        const auto wanted = static_cast<std::size_t>(options.jobs);
        m_threads.reserve(wanted); // so that a thread started is always kept
        if (const std::error_code failure = startThreads(wanted, start))
            makeDoWithFewer(failure, wanted, start);
        if (::pipe2(m_wake.data(), O_CLOEXEC | O_NONBLOCK) != 0)
            m_wake[0] = m_wake[1] = -1; // then waits for the answers alone, not for the input too
    }

    ~Workers()
    {
        stopThreads();
        for (const int end : m_wake) {
            if (end >= 0)
                ::close(end);
        }
    }

    /// The threads that answer: those started, or the calling one.
    int threads() const { return std::max(1, static_cast<int>(m_threads.size())); }

    /// Enough chunks in flight to keep every thread busy while the oldest is written.
    std::size_t maxInFlight() const { return 2 * static_cast<std::size_t>(threads()) + 1; }

    /// Chunks given and not yet taken.
    std::size_t inFlight() const { return m_jobs.size(); }

    void give(std::unique_ptr<Job> job)
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

    /// True when the oldest job given is answered.
    bool oldestDone()
    {
        const std::lock_guard lock(m_mutex);
        return !m_jobs.empty() && m_jobs.front()->done;
    }

    /// The oldest job given, once it is answered.
    std::unique_ptr<Job> takeOldest()
    {
        std::unique_lock lock(m_mutex);
        m_answered.wait(lock, [this] { return m_jobs.front()->done; });
        std::unique_ptr<Job> job = std::move(m_jobs.front());
        m_jobs.pop_front();
        return job;
    }

    /// Waits until `descriptor` can be read or the oldest job is answered; true for the input.
    bool waitForInputOrOldest(int descriptor)
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

private:
    // Starts threads until there are `count`; the error of the start that failed, if one did.
    std::error_code startThreads(std::size_t count, const ThreadStarter &start)
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

    // Thread m_threads.size() + 1 could not start: the run goes on with those that did, or
    // fewer, and says so.
    void makeDoWithFewer(
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

    void stopThreads()
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

    void work()
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

void waitForOutput()
{
    pollfd output {STDOUT_FILENO, POLLOUT, 0};
    while (::poll(&output, 1, -1) < 0 && errno == EINTR) { }
}

void printError(const std::string &message)
{
    std::fprintf(stderr, "kaleno-solve: %s\n", message.c_str());
}

// Writes the answers in order, and keeps the tallies.
class AnswerWriter
{
public:
    explicit AnswerWriter(bool pretty) : m_pretty(pretty) { }

    /// False once the answers cannot be written any more.
    bool write(const ChunkAnswers &answers)
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

    int error() const { return m_error; }
    const RunStats &stats() const { return m_stats; }

private:
    bool m_pretty;
    bool m_wroteAny = false;
    int m_error = 0;
    RunStats m_stats;
};

// An input by its name, open for reading; "-" is standard input.
struct Input
{
    std::string name;
    int descriptor = -1;
    std::string error; // why it cannot be read
};

Input openInput(const std::string &file, const RunOptions &options)
{
    Input input;
    if (file == "-") {
        input.name = "<stdin>";
        input.descriptor = STDIN_FILENO;
        if (options.standardInputClosed)
            input.error = "cannot read the grids: standard input is closed";
        return input;
    }
    input.name = file;
    input.descriptor = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat status
    {
    };
    if (input.descriptor < 0) {
        input.error = "cannot read " + file + ": " + std::strerror(errno);
    } else if (::fstat(input.descriptor, &status) == 0 && S_ISDIR(status.st_mode)) {
        input.error = "cannot read " + file + ": it is a directory";
        ::close(input.descriptor);
        input.descriptor = -1;
    }
    return input;
}

void printStats(const RunStats &stats, const RunOptions &options, int threads, double wallSeconds)
{
    const std::int64_t answers = [&] {
        std::int64_t sum = 0;
        for (int tally = 0; tally < TallyCount; ++tally)
            sum += stats.tally(static_cast<Tally>(tally));
        return sum;
    }();
    const std::vector<Tally> shown = options.task == Task::Count
        ? std::vector<Tally> {Tally::NoCompletion, Tally::OneCompletion, Tally::SeveralCompletions,
            Tally::InputError, Tally::InvalidLine}
        : options.task == Task::Givens ? std::vector<Tally> {Tally::Read, Tally::InvalidLine}
                                       : std::vector<Tally> {Tally::Solved, Tally::NoSolution,
                                           Tally::InputError, Tally::StepLimit, Tally::InvalidLine};
    std::fprintf(stderr, "grids %lld:", static_cast<long long>(answers));
    const char *separator = " ";
    for (const Tally tally : shown) {
        std::fprintf(stderr, "%s%s %lld", separator, tallyLabel(tally),
            static_cast<long long>(stats.tally(tally)));
        separator = ", ";
    }
    std::fputc('\n', stderr);

    if (stats.timedGrids() > 0) {
        // The slowest grids again, each keeping its fastest time.
        std::vector<double> again;
        for (const RunStats::TimedGrid &slow : stats.slowest()) {
            double best = slow.micros;
            for (int run = 0; run < Retimings; ++run) {
                const auto start = std::chrono::steady_clock::now();
                workAgain(slow.input, options);
                const std::chrono::duration<double, std::micro> elapsed
                    = std::chrono::steady_clock::now() - start;
                best = std::min(best, elapsed.count());
            }
            again.push_back(best);
        }
        const RunStats::Times times = stats.timedAgain(again);
        std::fprintf(stderr,
            "solve alone: total %.6f s, mean %.2f us a grid, max %.2f us (the %zu slowest timed "
            "%d more times, each keeping its best)\n",
            times.totalMicros / 1e6, times.meanMicros, times.maxMicros, stats.slowest().size(),
            Retimings);
    }
    std::fprintf(stderr, "wall time %.3f s, %.0f grids a second, on %d thread%s\n", wallSeconds,
        wallSeconds > 0 ? static_cast<double>(answers) / wallSeconds : 0.0, threads,
        threads == 1 ? "" : "s");
    rusage usage {};
    if (getrusage(RUSAGE_SELF, &usage) == 0)
        std::fprintf(stderr, "peak resident memory: %.1f MB\n",
            static_cast<double>(usage.ru_maxrss) / 1024.0);
}

// Reads the inputs in chunks, has the workers answer them, and writes the answers in the order
// of the input, holding a bounded number of chunks at a time.
class Pipeline
{
public:
    Pipeline(const RunOptions &options, AnswerWriter &writer, const ThreadStarter &start)
        : m_options(options), m_writer(writer), m_workers(options, start),
          m_maxInFlight(m_workers.maxInFlight())
    { }

    int threads() const { return m_workers.threads(); }

    /// Reads and answers the input `file` ("-" for standard input). False when it could not be
    /// read to its end; a message then says why, in its place among the answers.
    bool answerInput(const std::string &file)
    {
        Input input = openInput(file, m_options);
        m_names.push_back(input.name);
        if (!input.error.empty())
            return message(input.error);
        ChunkReader reader(input.descriptor, !m_options.json);
        reader.whenInputPauses([this](int descriptor) { writeUntilReadable(descriptor); });
        while (m_writer.error() == 0) {
            std::unique_ptr<Job> job = freshJob();
            if (!reader.next(*job->chunk))
                break;
            while (m_workers.inFlight() >= m_maxInFlight)
                writeOldest();
            m_workers.give(std::move(job));
        }
        if (input.descriptor != STDIN_FILENO)
            ::close(input.descriptor);
        if (reader.error() != 0)
            return message("cannot read " + input.name + ": " + std::strerror(reader.error()));
        return true;
    }

    /// Writes the answers still in flight.
    void finish()
    {
        while (m_workers.inFlight() > 0)
            writeOldest();
    }

private:
    // Jobs are used again, buffers and all: a fresh chunk's memory would cost page faults.
    std::unique_ptr<Job> freshJob()
    {
        std::unique_ptr<Job> job;
        if (m_spare.empty()) {
            job = std::make_unique<Job>();
            job->chunk.emplace();
        } else {
            job = std::move(m_spare.back());
            m_spare.pop_back();
            job->answers.out.clear();
            job->answers.errors.clear();
            job->answers.stats = {};
            job->done = false;
        }
        job->inputName = &m_names.back();
        return job;
    }

    // The input pauses: the answers are written as they come, until the input can be read or
    // none is left to write.
    void writeUntilReadable(int descriptor)
    {
        while (m_workers.inFlight() > 0 && m_writer.error() == 0) {
            if (m_workers.oldestDone())
                writeOldest();
            else if (m_workers.waitForInputOrOldest(descriptor))
                return;
        }
    }

    void writeOldest()
    {
        std::unique_ptr<Job> job = m_workers.takeOldest();
        if (m_writer.error() == 0)
            m_writer.write(job->answers);
        if (job->chunk)
            m_spare.push_back(std::move(job));
    }

    bool message(const std::string &text)
    {
        auto job = std::make_unique<Job>();
        job->answers.errors = "kaleno-solve: " + text + '\n';
        m_workers.give(std::move(job));
        return false;
    }

    const RunOptions &m_options;
    AnswerWriter &m_writer;
    Workers m_workers;
    std::size_t m_maxInFlight;
    std::deque<std::string> m_names; // the inputs' names, at addresses that stay
    std::vector<std::unique_ptr<Job>> m_spare;
};

} // namespace

std::thread startThread(std::function<void()> work)
{
    return std::thread(std::move(work));
}

ExitStatus runSolve(const RunOptions &options, const ThreadStarter &threadStarter)
{
    const auto start = std::chrono::steady_clock::now();
    AnswerWriter writer(options.pretty);
    bool allRead = true;
    int threads = 0;
    {
        Pipeline pipeline(options, writer, threadStarter);
        threads = pipeline.threads();
        for (const std::string &file : options.files) {
            if (writer.error() != 0)
                break; // nobody reads the answers any more
            allRead = pipeline.answerInput(file) && allRead;
        }
        pipeline.finish();
    }
    if (options.stats) {
        const std::chrono::duration<double> wall = std::chrono::steady_clock::now() - start;
        printStats(writer.stats(), options, threads, wall.count());
    }
    if (writer.error() != 0) {
        printError(std::string("cannot write the answers to standard output: ")
            + std::strerror(writer.error()));
        return UsageOrFileError;
    }
    if (!allRead)
        return UsageOrFileError;
    return writer.stats().tally(Tally::InvalidLine) > 0 ? SomeLineInvalid : AllRead;
}

} // namespace kaleno
