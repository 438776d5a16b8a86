#pragma once

#include <QtGlobal>
#include <deque>

// How fast a part of the work goes now: real seconds per estimated second over the last few
// seconds of work. A copy slows down once the system's write cache is full, a disc's read-back
// goes at another speed than its write: the average since the start would promise too much.
class RecentSpeed
{
public:
    // How much work the window holds.
    static constexpr qint64 WindowMs = 5000;

    void reset() { m_samples.clear(); }
    // At workMs of working time, estimatedDone seconds of the estimates were done.
    void add(qint64 workMs, double estimatedDone);
    // Real seconds per estimated second over the window; 0 while it holds less than a second
    // of work or no progress.
    double speed() const;

private:
    struct Sample
    {
        qint64 ms;
        double done;
    };
    std::deque<Sample> m_samples;
};
