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
        // The same by part: converting and writing (a disc's read-back included).
        double conversionDone = 0;
        double conversionLeft = 0;
        double writeDone = 0;
        double writeLeft = 0;
    };
    // verifyShare: on a disc, the read-back after the write takes this many times the write's
    // own time; the write estimate covers both, the step's progress only the write.
    static Split split(const FileInfoModel& model, double fraction, double verifyShare = 0);

    // Seconds still to go: each part's estimated share left, scaled by how fast that part has
    // really been going (conversionMs spent converting, writeMs writing). A part without
    // progress yet counts as estimated.
    static qint64 remainingSeconds(const FileInfoModel& model, double fraction, qint64 conversionMs,
                                   qint64 writeMs, double verifyShare = 0);

    // The transfer bar's new value for percent, or -1 to leave it: small values show as 12 so
    // the bar is visibly moving; a disc burn stops at 99 until the burner reports the end.
    static int barValue(int percent, bool writingToDisc);
};
