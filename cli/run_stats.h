#pragma once

#include "answer_words.h"
#include "solve_core.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace kaleno {

/// A grid as the solve takes it: digits read from the grid formats, or cell texts from JSON.
using SolveInput = std::variant<Grid, CellTexts>;

/// The tallies and the solve times of a part of a run; parts add up.
class RunStats
{
public:
    /// How many of the slowest grids are kept, to be timed again.
    static constexpr std::size_t SlowestKept = 20;

    struct TimedGrid
    {
        double micros = 0;
        SolveInput input;
    };

    void count(Tally tally) { ++m_tallies[static_cast<std::size_t>(tally)]; }
    std::int64_t tally(Tally tally) const { return m_tallies[static_cast<std::size_t>(tally)]; }
    /// Every answer, of whatever kind.
    std::int64_t answers() const;

    /// One solve's time; its input (a Grid or CellTexts) is kept while it is among the slowest.
    template<typename Input>
    void addTime(double micros, const Input &input)
    {
        ++m_timed;
        m_totalMicros += micros;
        if (m_slowest.size() < SlowestKept || micros > m_slowest.back().micros)
            keep({micros, SolveInput(input)});
        else
            leaveOut(micros);
    }

    void add(const RunStats &other);

    std::int64_t timedGrids() const { return m_timed; }
    /// The slowest grids, the slowest first.
    const std::vector<TimedGrid> &slowest() const { return m_slowest; }

    /// The solve times once the slowest grids were timed again: `again[i]` for slowest()[i].
    struct Times
    {
        double totalMicros = 0;
        double meanMicros = 0; ///< 0 when no grid was timed
        double maxMicros = 0; ///< the slowest grid then: never below the mean
    };
    Times timedAgain(const std::vector<double> &again) const;

private:
    void keep(TimedGrid slow);
    void leaveOut(double micros) { m_maxLeftOut = std::max(m_maxLeftOut, micros); }

    std::array<std::int64_t, TallyCount> m_tallies {};
    std::int64_t m_timed = 0;
    double m_totalMicros = 0;
    std::vector<TimedGrid> m_slowest;
    double m_maxLeftOut = 0; // the slowest time of the grids not among m_slowest
};

} // namespace kaleno
