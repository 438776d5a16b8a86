#include "EngineSpeedCalibration.h"

#include <QString>
#include <string>

#include "SettingsAccessors.h"
#include "TranscodeEstimator.h"
#include "TranscodeLogging.h"

namespace {

const char* const SettingsPath = "TransferWizard";
const char* const FactorName = "EngineSpeedFactor";
// Enough of a conversion to judge its speed: the worker's start-up is behind it.
constexpr qint64 MinimumMs = 3000;
constexpr double MinimumPercent = 2.0;

} // namespace

void EngineSpeedCalibration::load()
{
    std::string stored;
    if (!ReadSetting(std::string(SettingsPath), std::string(FactorName), stored))
        return;
    bool ok = false;
    const double factor = QString::fromStdString(stored).toDouble(&ok);
    if (ok)
        kvt::TranscodeEstimator::setSpeedFactor(factor);
}

double EngineSpeedCalibration::factorFor(double percent, qint64 elapsedMs, double estimatedSeconds,
                                         double factorUsed)
{
    if (percent <= 0 || estimatedSeconds <= 0 || factorUsed <= 0)
        return factorUsed;
    const double projected = double(elapsedMs) / 1000.0 * 100.0 / qMin(percent, 100.0);
    return factorUsed * projected / estimatedSeconds;
}

bool EngineSpeedCalibration::sample(double percent, qint64 elapsedMs, double estimatedSeconds,
                                    double factorUsed)
{
    if (m_measured || (percent < 100.0 && (elapsedMs < MinimumMs || percent < MinimumPercent)))
        return false;
    m_measured = true;
    kvt::TranscodeEstimator::setSpeedFactor(
        factorFor(percent, elapsedMs, estimatedSeconds, factorUsed));
    const double factor = kvt::TranscodeEstimator::speedFactor();
    qCDebug(lcTranscode).noquote() << "EngineSpeedCalibration  factor" << factor << "after"
                                   << elapsedMs << "ms at" << percent << "%";
    WriteSetting(std::string(SettingsPath), std::string(FactorName),
                 QString::number(factor, 'g', 4).toStdString());
    return true;
}
