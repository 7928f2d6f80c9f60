#include "run_stats.h"

#include <algorithm>
#include <iterator>
#include <utility>

namespace kaleno {

std::int64_t RunStats::answers() const
{
    std::int64_t sum = 0;
    for (const std::int64_t count : m_tallies)
        sum += count;
    return sum;
}

void RunStats::keep(TimedGrid slow)
{
    const auto at = std::find_if(m_slowest.begin(), m_slowest.end(),
        [&slow](const TimedGrid &kept) { return kept.micros < slow.micros; });
    m_slowest.insert(at, std::move(slow));
    if (m_slowest.size() > SlowestKept) {
        leaveOut(m_slowest.back().micros);
        m_slowest.pop_back();
    }
}

void RunStats::add(const RunStats &other)
{
    for (std::size_t i = 0; i < m_tallies.size(); ++i)
        m_tallies[i] += other.m_tallies[i];
    m_timed += other.m_timed;
    m_totalMicros += other.m_totalMicros;
    std::vector<TimedGrid> merged;
    std::merge(m_slowest.begin(), m_slowest.end(), other.m_slowest.begin(), other.m_slowest.end(),
        std::back_inserter(merged),
        [](const TimedGrid &a, const TimedGrid &b) { return a.micros > b.micros; });
    leaveOut(other.m_maxLeftOut);
    if (merged.size() > SlowestKept) {
        leaveOut(merged[SlowestKept].micros);
        merged.resize(SlowestKept);
    }
    m_slowest = std::move(merged);
}

RunStats::Times RunStats::timedAgain(const std::vector<double> &again) const
{
    // The same times give the mean and the max: those of the grids left out, and the new ones
    // of the slowest.
    Times times {m_totalMicros, 0, m_maxLeftOut};
    for (std::size_t i = 0; i < m_slowest.size() && i < again.size(); ++i) {
        times.totalMicros += again[i] - m_slowest[i].micros;
        times.maxMicros = std::max(times.maxMicros, again[i]);
    }
    if (m_timed > 0)
        times.meanMicros = times.totalMicros / static_cast<double>(m_timed);
    return times;
}

} // namespace kaleno
