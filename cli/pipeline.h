#pragma once

#include "answer_writer.h"
#include "workers.h"

#include <deque>
#include <memory>
#include <string>
#include <vector>

namespace kaleno {

/// Reads the inputs in chunks, has the workers answer them, and writes the answers in the order
/// of the input, holding a bounded number of chunks at a time. When an input pauses, the answers
/// to every grid read are written before it is waited for.
class Pipeline
{
public:
    Pipeline(const RunOptions &options, AnswerWriter &writer, const ThreadStarter &start);

    int threads() const { return m_workers.threads(); }

    /// Reads and answers the input `file` ("-" for standard input). False when it could not be
    /// read to its end; a message then says why, in its place among the answers.
    bool answerInput(const std::string &file);

    /// Writes the answers still in flight.
    void finish();

private:
    std::unique_ptr<Job> freshJob();
    void writeUntilReadable(int descriptor);
    void writeOldest();
    bool message(const std::string &text);

    const RunOptions &m_options;
    AnswerWriter &m_writer;
    Workers m_workers;
    std::size_t m_maxInFlight;
    std::deque<std::string> m_names; // the inputs' names, at addresses that stay
    std::vector<std::unique_ptr<Job>> m_spare;
};

} // namespace kaleno
