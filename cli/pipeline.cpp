#include "pipeline.h"

#include "open_input.h"

#include <cstring>
#include <utility>

#include <unistd.h>

namespace kaleno {

Pipeline::Pipeline(const RunOptions &options, AnswerWriter &writer, const ThreadStarter &start)
    : m_options(options), m_writer(writer), m_workers(options, start),
      m_maxInFlight(m_workers.maxInFlight())
{ }

bool Pipeline::answerInput(const std::string &file)
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

void Pipeline::finish()
{
    while (m_workers.inFlight() > 0)
        writeOldest();
}

// Jobs are used again, buffers and all: a fresh chunk's memory would cost page faults.
std::unique_ptr<Job> Pipeline::freshJob()
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

// The input pauses: the answers are written as they come, until the input can be read or none
// is left to write.
void Pipeline::writeUntilReadable(int descriptor)
{
    while (m_workers.inFlight() > 0 && m_writer.error() == 0) {
        if (m_workers.oldestDone())
            writeOldest();
        else if (m_workers.waitForInputOrOldest(descriptor))
            return;
    }
}

void Pipeline::writeOldest()
{
    std::unique_ptr<Job> job = m_workers.takeOldest();
    if (m_writer.error() == 0)
        m_writer.write(job->answers);
    if (job->chunk)
        m_spare.push_back(std::move(job));
}

// `text` goes to standard error in its place among the answers. False, for answerInput().
bool Pipeline::message(const std::string &text)
{
    auto job = std::make_unique<Job>();
    job->answers.errors = "kaleno-solve: " + text + '\n';
    m_workers.give(std::move(job));
    return false;
}

} // namespace kaleno
