#include "TransferTimeEstimate.h"

#include <QString>
#include <QtMath>

#include "FileInfoModel.h"

TransferTimeEstimate::Split TransferTimeEstimate::split(const FileInfoModel& model, double fraction)
{
    Split s;
    const double f = qBound(0.0, fraction, 100.0);
    for (int row = 0; row < model.rowCount(); ++row) {
        QString name;
        int conversion = 0;
        int write = 0;
        int status = 0;
        if (!model.rowValues(row, name, conversion, write, status))
            continue;
        // A file without an estimate counts as taking no time.
        const double a = qMax(0, conversion);
        const double b = qMax(0, write);
        switch (status) {
        case FileInfoModel::Ready:
            s.done += a;
            s.left += b;
            break;
        case FileInfoModel::InProgress:
            s.done += f / 100.0 * a;
            s.left += (100.0 - f) / 100.0 * a + b;
            break;
        case FileInfoModel::Writing:
            s.done += a + f / 100.0 * b;
            s.left += (100.0 - f) / 100.0 * b;
            break;
        case FileInfoModel::Finished:
            s.done += a + b;
            break;
        default: // waiting, failed, cancelled: all of it still counts as ahead
            s.left += a + b;
            break;
        }
    }
    return s;
}

qint64 TransferTimeEstimate::remainingSeconds(const FileInfoModel& model, double fraction,
                                              qint64 elapsedMs)
{
    const Split s = split(model, fraction);
    double left = s.left;
    if (s.done > 0)
        left = (double(qMax<qint64>(0, elapsedMs)) / 1000.0) * s.left / s.done;
    return qint64(left);
}

int TransferTimeEstimate::barValue(int percent, bool writingToDisc)
{
    if (percent > 12)
        return writingToDisc ? qMin(percent, 99) : qMin(percent, 100);
    if (percent >= 1)
        return 12;
    return -1;
}
