#pragma once

#include <QtGlobal>

// Fits the engine's time estimates to this machine. The estimator's table was measured on one
// computer; the first seconds of the first conversion of a run show how fast this one really
// is, and that ratio is kept in the settings ("EngineSpeedFactor") for the next analysis.
class EngineSpeedCalibration
{
public:
    // Hands the stored ratio to the estimator (1 when none is stored).
    static void load();

    // A conversion estimated at estimatedSeconds (with the ratio in effect when it was
    // estimated) reached percent after elapsedMs. Once there is enough to go on (3 s and 2 %,
    // or the end), the new ratio is worked out, stored and used; true when it was. Later
    // samples of the same run change nothing.
    bool sample(double percent, qint64 elapsedMs, double estimatedSeconds, double factorUsed);
    bool measured() const { return m_measured; }

    // The ratio that makes an estimate of estimatedSeconds (made with factorUsed) match a
    // conversion that reached percent in elapsedMs.
    static double factorFor(double percent, qint64 elapsedMs, double estimatedSeconds,
                            double factorUsed);

private:
    bool m_measured = false;
};
