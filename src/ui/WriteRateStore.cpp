#include "WriteRateStore.h"

#include <string>

#include "SettingsAccessors.h"

namespace {

const char* const RatesPath = "TransferWizard\\WriteRates";
const char* const VerifyPath = "TransferWizard\\VerifyShares";

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

double WriteRateStore::verifyShare(const QString& root)
{
    std::string stored;
    if (root.isEmpty() || !ReadSetting(std::string(VerifyPath), root.toStdString(), stored))
        return 1.0;
    bool ok = false;
    const double share = QString::fromStdString(stored).toDouble(&ok);
    return ok && share >= 0 ? share : 1.0;
}

bool WriteRateStore::recordVerify(const QString& root, qint64 writeMs, qint64 verifyMs)
{
    if (root.isEmpty() || writeMs < 500 || verifyMs < 0)
        return false;
    const double share = qBound(0.0, double(verifyMs) / double(writeMs), 20.0);
    return WriteSetting(std::string(VerifyPath), root.toStdString(),
                        QString::number(share, 'g', 3).toStdString());
}
