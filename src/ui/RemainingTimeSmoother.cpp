#include "RemainingTimeSmoother.h"

qint64 RemainingTimeSmoother::next(qint64 estimateSeconds, qint64 nowMs)
{
    const double estimate = double(qMax<qint64>(0, estimateSeconds));
    if (!m_valid) {
        m_valid = true;
        m_shown = estimate;
        m_lastMs = nowMs;
        return estimateSeconds < 0 ? 0 : estimateSeconds;
    }
    const double passed = double(qMax<qint64>(0, nowMs - m_lastMs)) / 1000.0;
    m_lastMs = qMax(m_lastMs, nowMs);
    if (estimate <= m_shown)
        m_shown = estimate;
    else
        m_shown += (estimate - m_shown) * qMin(1.0, passed / RiseSeconds);
    return qint64(m_shown + 0.5);
}
