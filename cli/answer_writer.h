#pragma once

#include "chunk_work.h"
#include "run_stats.h"

namespace kaleno {

/// Writes the answers of the chunks in order, to standard output and standard error, and keeps
/// their tallies.
class AnswerWriter
{
public:
    /// With `pretty`, a blank line stands between answers: the one each answer starts with is
    /// left out before the first.
    explicit AnswerWriter(bool pretty) : m_pretty(pretty) { }

    /// False once the answers cannot be written any more.
    bool write(const ChunkAnswers &answers);

    /// The errno of the write that failed; 0 while none has.
    int error() const { return m_error; }
    const RunStats &stats() const { return m_stats; }

private:
    bool m_pretty;
    bool m_wroteAny = false;
    int m_error = 0;
    RunStats m_stats;
};

} // namespace kaleno
