#include "TransferTimeEstimate.h"

#include <QString>
#include <QtMath>

#include "FileInfoModel.h"

TransferTimeEstimate::Split TransferTimeEstimate::split(const FileInfoModel& model, double fraction,
                                                        double verifyShare)
{
    const double verify = model.burning() ? qMax(0.0, verifyShare) : 0.0;
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
            s.conversionDone += a;
            s.writeLeft += b;
            break;
        case FileInfoModel::InProgress:
            s.conversionDone += f / 100.0 * a;
            s.conversionLeft += (100.0 - f) / 100.0 * a;
            s.writeLeft += b;
            break;
        case FileInfoModel::Writing: {
            // The progress is the write's; the read-back that follows is still all ahead.
            const double write = b / (1.0 + verify);
            s.conversionDone += a;
            s.writeDone += f / 100.0 * write;
            s.writeLeft += (100.0 - f) / 100.0 * write + (b - write);
            break;
        }
        case FileInfoModel::Finished:
            s.conversionDone += a;
            s.writeDone += b;
            break;
        default: // waiting, failed, cancelled: all of it still counts as ahead
            s.conversionLeft += a;
            s.writeLeft += b;
            break;
        }
    }
    s.done = s.conversionDone + s.writeDone;
    s.left = s.conversionLeft + s.writeLeft;
    return s;
}

qint64 TransferTimeEstimate::remainingSeconds(const FileInfoModel& model, double fraction,
                                              qint64 conversionMs, qint64 writeMs,
                                              double verifyShare)
{
    const Split s = split(model, fraction, verifyShare);
    // Each part at the speed measured for it: a slow conversion says nothing about the drive,
    // whose estimate comes from what it did last time until its own progress shows.
    const auto scaled = [](double left, double done, qint64 ms) {
        return done > 0 ? double(qMax<qint64>(0, ms)) / 1000.0 * left / done : left;
    };
    return qint64(scaled(s.conversionLeft, s.conversionDone, conversionMs) +
                  scaled(s.writeLeft, s.writeDone, writeMs));
}

int TransferTimeEstimate::barValue(int percent, bool writingToDisc)
{
    if (percent > 12)
        return writingToDisc ? qMin(percent, 99) : qMin(percent, 100);
    if (percent >= 1)
        return 12;
    return -1;
}
