#pragma once

#include <QtGlobal>

// The remaining time as the page shows it: a new estimate below the figure shown is taken at
// once (the time counts down, or the work goes faster), one above it only step by step, a
// share of the difference for each second that passed. So a single slow sample does not make
// the figure jump up, while a lasting slow-down shows within seconds.
class RemainingTimeSmoother
{
public:
    // A rise is taken at this share of the difference per second.
    static constexpr double RiseSeconds = 4.0;

    void reset() { m_valid = false; }
    // The figure to show for the estimate estimateSeconds made at nowMs (any steady clock).
    qint64 next(qint64 estimateSeconds, qint64 nowMs);

private:
    bool m_valid = false;
    double m_shown = 0;
    qint64 m_lastMs = 0;
};
