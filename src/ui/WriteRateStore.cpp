#include "WriteRateStore.h"

#include <string>
#include <sys/stat.h>

#include "SettingsAccessors.h"

namespace {

const char* const RatesPath = "TransferWizard\\WriteRates";
const char* const SharesPath = "TransferWizard\\VerifyShares";
// A share beyond this is a read-back that stalled, not the drive's habit.
constexpr unsigned MaxShare = 4000;

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
    unsigned int stored = 0;
    if (!root.isEmpty() && ReadSetting(std::string(SharesPath), root.toStdString(), stored))
        return double(qMin(stored, MaxShare)) / 1000.0;
    struct stat st = {};
    const bool recorder = ::stat(root.toLocal8Bit().constData(), &st) == 0 && S_ISBLK(st.st_mode);
    return recorder ? 1.0 : 0.1;
}

bool WriteRateStore::recordVerifyShare(const QString& root, qint64 writeMs, qint64 verifyMs)
{
    if (root.isEmpty() || writeMs < 500 || verifyMs < 0)
        return false;
    const unsigned value = unsigned(qMin<qint64>(verifyMs * 1000 / writeMs, MaxShare));
    return WriteSetting(std::string(SharesPath), root.toStdString(), value);
}
