#include "WriteRateStore.h"

#include <string>

#include "SettingsAccessors.h"

namespace {

const char* const RatesPath = "TransferWizard\\WriteRates";

} // namespace

quint32 WriteRateStore::rate(const QString& root)
{
    unsigned int stored = 0;
    if (root.isEmpty() || !ReadSetting(std::string(RatesPath), root.toStdString(), stored))
        return 0;
    return stored;
}

bool WriteRateStore::record(const QString& root, quint64 bytes, qint64 elapsedMs)
{
    if (root.isEmpty() || elapsedMs < 500 || bytes < 1048576)
        return false;
    const double perSecond = double(bytes) * 1000.0 / double(elapsedMs);
    const unsigned int value = unsigned(qBound(1.0, perSecond, double(0xFFFFFFFFu)));
    return WriteSetting(std::string(RatesPath), root.toStdString(), value);
}
