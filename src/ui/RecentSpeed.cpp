#include "RecentSpeed.h"

void RecentSpeed::add(qint64 workMs, double estimatedDone)
{
    if (!m_samples.empty() && workMs < m_samples.back().ms)
        m_samples.clear();
    m_samples.push_back({workMs, estimatedDone});
    // Keep one sample at or beyond the window's start, so the window always spans it.
    while (m_samples.size() > 2 && workMs - m_samples[1].ms >= WindowMs)
        m_samples.pop_front();
}

double RecentSpeed::speed() const
{
    if (m_samples.size() < 2)
        return 0;
    const Sample& first = m_samples.front();
    const Sample& last = m_samples.back();
    const qint64 ms = last.ms - first.ms;
    const double done = last.done - first.done;
    if (ms < 1000 || done <= 0)
        return 0;
    return double(ms) / 1000.0 / done;
}
