#include "TransferTimeEstimate.h"

#include <QString>
#include <algorithm>
#include <vector>

#include "FileInfoModel.h"

namespace {

struct RowTime
{
    double conversionDone = 0;
    double conversionLeft = 0;
    double writeDone = 0;
    double writeLeft = 0;
};

std::vector<RowTime> rowTimes(const FileInfoModel& model, double conversionPercent,
                              double writePercent)
{
    const double c = qBound(0.0, conversionPercent, 100.0) / 100.0;
    const double w = qBound(0.0, writePercent, 100.0) / 100.0;
    std::vector<RowTime> rows;
    for (int row = 0; row < model.rowCount(); ++row) {
        QString name;
        int conversion = 0;
        int write = 0;
        int status = 0;
        if (!model.rowValues(row, name, conversion, write, status))
            continue;
        // A file without an estimate counts as taking no time; one written as it is has
        // nothing to convert, whatever a conversion of it would have taken.
        const double a = model.outputPath(row).isEmpty() ? 0.0 : qMax(0, conversion);
        const double b = qMax(0, write);
        RowTime t;
        switch (status) {
        case FileInfoModel::Ready:
            t.conversionDone = a;
            t.writeLeft = b;
            break;
        case FileInfoModel::InProgress:
            t.conversionDone = c * a;
            t.conversionLeft = (1.0 - c) * a;
            t.writeLeft = b;
            break;
        case FileInfoModel::Writing:
            t.conversionDone = a;
            t.writeDone = w * b;
            t.writeLeft = (1.0 - w) * b;
            break;
        case FileInfoModel::Finished:
            t.conversionDone = a;
            t.writeDone = b;
            break;
        default: // waiting, failed, cancelled: all of it still counts as ahead
            t.conversionLeft = a;
            t.writeLeft = b;
            break;
        }
        rows.push_back(t);
    }
    return rows;
}

// Real seconds per estimated second of a part, from what it has done so far.
double speed(double estimatedDone, qint64 ms)
{
    return estimatedDone > 0 && ms > 0 ? double(ms) / 1000.0 / estimatedDone : 1.0;
}

} // namespace

TransferTimeEstimate::Split TransferTimeEstimate::split(const FileInfoModel& model,
                                                        double conversionPercent,
                                                        double writePercent)
{
    Split s;
    for (const RowTime& t : rowTimes(model, conversionPercent, writePercent)) {
        s.conversionDone += t.conversionDone;
        s.conversionLeft += t.conversionLeft;
        s.writeDone += t.writeDone;
        s.writeLeft += t.writeLeft;
    }
    s.done = s.conversionDone + s.writeDone;
    s.left = s.conversionLeft + s.writeLeft;
    return s;
}

qint64 TransferTimeEstimate::remainingSeconds(const FileInfoModel& model, const Progress& progress,
                                              bool overlap)
{
    const std::vector<RowTime> rows =
        rowTimes(model, progress.conversionPercent, progress.writePercent);
    double conversionDone = 0;
    double writeDone = 0;
    double writeLeft = 0;
    for (const RowTime& t : rows) {
        conversionDone += t.conversionDone;
        writeDone += t.writeDone;
        writeLeft += t.writeLeft;
    }
    // Each part at the speed measured for it: a slow conversion says nothing about the drive,
    // whose estimate comes from what it did last time until its own progress shows.
    const double conversionSpeed = speed(conversionDone, progress.conversionMs);
    // A write that has slowed down goes on at its recent speed; a burst into the system's
    // cache promises nothing, so the average is kept when it is the slower one.
    double writeSpeed = qMax(progress.recentWriteSpeed, speed(writeDone, progress.writeMs));
    // A drive's rate measured over a whole earlier transfer knows its slow stretches: it
    // weighs as much as the write still ahead, so a fast start into a cache promises little
    // and the write's own pace takes over as it goes.
    if (progress.writeRateMeasured && writeDone + writeLeft > 0) {
        const double done = writeDone / (writeDone + writeLeft);
        writeSpeed = (1.0 - done) + done * writeSpeed;
    }

    // When each file is there to be written, counted from now.
    double converting = 0;
    std::vector<std::pair<double, double>> writes; // ready at, seconds to write
    for (const RowTime& t : rows) {
        double ready = 0;
        if (t.conversionLeft > 0) {
            converting += t.conversionLeft * conversionSpeed;
            ready = converting;
        }
        if (t.writeLeft > 0)
            writes.emplace_back(ready, t.writeLeft * writeSpeed);
    }
    double end = converting;
    if (!overlap) {
        for (const auto& write : writes)
            end += write.second;
        return qint64(end + 0.5);
    }
    // One copy at a time, each file as soon as it is ready, in the list's order among those.
    std::stable_sort(writes.begin(), writes.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    double copying = 0;
    for (const auto& write : writes)
        copying = qMax(copying, write.first) + write.second;
    return qint64(qMax(end, copying) + 0.5);
}

int TransferTimeEstimate::barValue(int percent, bool writingToDisc)
{
    if (percent > 12)
        return writingToDisc ? qMin(percent, 99) : qMin(percent, 100);
    if (percent >= 1)
        return 12;
    return -1;
}
