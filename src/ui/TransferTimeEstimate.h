#pragma once

#include <QtGlobal>

class FileInfoModel;

// The figures of the transfer page: how much of the whole transfer is done and how long the
// rest will take, from each file's state and estimates and the progress of the current step.
class TransferTimeEstimate
{
public:
    // Seconds done and left by the estimates alone. fraction is the current step's progress in
    // percent (0 to 100); it applies to the file being converted or written.
    struct Split
    {
        double done = 0;
        double left = 0;
    };
    static Split split(const FileInfoModel& model, double fraction);

    // Seconds still to go: the estimated share left, scaled by how fast the transfer has
    // really been going since it started (elapsedMs ago). Without progress yet, the estimate.
    static qint64 remainingSeconds(const FileInfoModel& model, double fraction, qint64 elapsedMs);

    // The transfer bar's new value for percent, or -1 to leave it: small values show as 12 so
    // the bar is visibly moving; a disc burn stops at 99 until the burner reports the end.
    static int barValue(int percent, bool writingToDisc);
};
