#include "chunk_work.h"

#include "answers.h"
#include "fast_engine.h"
#include "json_lines.h"

#include <chrono>
#include <ratio>
#include <string_view>
#include <variant>

namespace kaleno {

namespace {

struct Count
{
    GridReading reading; // JSON only: how the texts read
    bool inputError = false;
    int completions = 0;
};

Count countGivens(const Grid &givens)
{
    Count count;
    count.inputError = hasRepeatedDigits(givens);
    if (!count.inputError)
        count.completions = countCompletions(givens, 2);
    return count;
}

Count countTexts(const CellTexts &texts)
{
    Count count;
    count.reading = readCells(texts);
    count.inputError = !count.reading.ok();
    if (!count.inputError)
        count.completions = countCompletions(count.reading.givens, 2);
    return count;
}

Tally countTally(const Count &count)
{
    if (count.inputError)
        return Tally::InputError;
    return completionsTally(count.completions);
}

// Answers the grids of one chunk in turn, timing their solves when asked to.
class ChunkAnswerer
{
public:
    ChunkAnswerer(const RunOptions &options, const std::string &inputName, ChunkAnswers &answers)
        : m_options(options), m_inputName(inputName),
          m_layout(options.pretty ? Layout::Pretty : Layout::Line), m_answers(answers)
    { }

private:
    // Does `work`, timed when the statistics are asked for.
    template<typename Input, typename Work>
    auto timed(const Input &input, Work &&work)
    {
        if (m_options.stats == StatsForm::None)
            return work();
        const auto start = std::chrono::steady_clock::now();
        auto result = work();
        const std::chrono::duration<double, std::micro> elapsed
            = std::chrono::steady_clock::now() - start;
        m_answers.stats.addTime(elapsed.count(), input);
        return result;
    }

public:
    void answerGrid(const Grid &givens)
    {
        startAnswer();
        switch (m_options.task) {
        case Task::Solve: {
            const GivensOutcome outcome
                = timed(givens, [&] { return solveGivens(givens, m_options.solve); });
            appendSolveAnswer(m_answers.out, outcome, m_layout);
            m_answers.stats.count(tallyOf(outcome.kind));
            break;
        }
        case Task::Count: {
            const Count count = timed(givens, [&] { return countGivens(givens); });
            appendWords(m_answers.out, countTally(count));
            m_answers.stats.count(countTally(count));
            break;
        }
        case Task::Givens:
            appendGrid(m_answers.out, givens, m_layout);
            m_answers.stats.count(Tally::Read);
            break;
        }
    }

    void answerTexts(const CellTexts &texts)
    {
        if (m_options.task == Task::Count) {
            const Count count = timed(texts, [&] { return countTexts(texts); });
            m_answers.out += jsonCountAnswer(count.reading, count.completions);
            m_answers.stats.count(countTally(count));
        } else {
            const SolveOutcome outcome
                = timed(texts, [&] { return solveCells(texts, m_options.solve); });
            m_answers.out += jsonAnswer(outcome);
            m_answers.stats.count(tallyOf(outcome.kind));
        }
        m_answers.out += '\n';
    }

    void answerInvalid(LineNumber line, const std::string &why)
    {
        startAnswer();
        m_answers.errors += "kaleno-solve: " + m_inputName + ':' + std::to_string(line)
            + ": invalid line: " + why + '\n';
        if (m_options.json)
            m_answers.out += jsonInvalidLine() + '\n';
        else
            appendWords(m_answers.out, Tally::InvalidLine);
        m_answers.stats.count(Tally::InvalidLine);
    }

private:
    void startAnswer()
    {
        // A blank line between pretty answers; the writer drops the one before the first.
        if (m_layout == Layout::Pretty)
            m_answers.out += '\n';
    }

    const RunOptions &m_options;
    const std::string &m_inputName;
    Layout m_layout;
    ChunkAnswers &m_answers;
};

std::string_view trimmed(std::string_view text)
{
    constexpr std::string_view Blanks = " \t\r\n\v\f";
    const std::size_t first = text.find_first_not_of(Blanks);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(Blanks) - first + 1);
}

} // namespace

void answerChunk(const Chunk &chunk, const RunOptions &options, const std::string &inputName,
    ChunkAnswers &answers)
{
    ChunkAnswerer answerer(options, inputName, answers);
    if (!options.json) {
        readGrids(chunk, [&answerer](const ReadGrid &grid) {
            if (grid.ok())
                answerer.answerGrid(grid.givens);
            else
                answerer.answerInvalid(grid.line, grid.error);
        });
        return;
    }
    if (chunk.overlong)
        answerer.answerInvalid(chunk.firstLine, *chunk.overlong);
    LineNumber number = chunk.firstLine - 1;
    forEachLine(chunk.text, [&](std::string_view line) {
        ++number;
        const std::string_view content = trimmed(line);
        if (content.empty() || content.front() == '#')
            return;
        std::string error;
        if (const auto texts = parseJsonLine(content, error))
            answerer.answerTexts(*texts);
        else
            answerer.answerInvalid(number, error);
    });
}

void workAgain(const SolveInput &input, const RunOptions &options)
{
    if (const auto *givens = std::get_if<Grid>(&input)) {
        if (options.task == Task::Count)
            (void)countGivens(*givens);
        else
            (void)solveGivens(*givens, options.solve);
    } else {
        const auto &texts = std::get<CellTexts>(input);
        if (options.task == Task::Count)
            (void)countTexts(texts);
        else
            (void)solveCells(texts, options.solve);
    }
}

} // namespace kaleno
