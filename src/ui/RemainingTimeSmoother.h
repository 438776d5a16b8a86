#pragma once

#include <QtGlobal>

// The remaining time as the page shows it: between two updates the figure counts down with
// the clock; a new estimate below that is taken at once, one above it only step by step (a
// share of the difference for each second that passed), so a single slow sample does not make
// the figure jump up while a lasting slow-down still shows within seconds.
class RemainingTimeSmoother
{
public:
    // Seconds over which a rise is taken in full.
    static constexpr double RiseSeconds = 8.0;

    void reset() { m_valid = false; }
    // The figure to show for the estimate estimateSeconds made at nowMs (any steady clock).
    qint64 next(qint64 estimateSeconds, qint64 nowMs);

private:
    bool m_valid = false;
    double m_shown = 0;
    qint64 m_lastMs = 0;
};
