#pragma once

#include <QtGlobal>

class FileInfoModel;

// The figures of the transfer page: how much of the whole transfer is done and how long the
// rest will take, from each file's state and estimates and the progress of the running steps.
// A conversion and a copy may run at once (a USB copy takes each converted file while the next
// one converts), so each has its own progress and its own clock.
class TransferTimeEstimate
{
public:
    struct Progress
    {
        // Percent (0 to 100) of the file being converted and of the file being written.
        double conversionPercent = 0;
        double writePercent = 0;
        // How long each part has really been at work.
        qint64 conversionMs = 0;
        qint64 writeMs = 0;
        // The write's speed of late (real seconds per estimated second), 0 when unknown: when
        // it is slower than the average since the write began, it counts instead.
        double recentWriteSpeed = 0;
        // The drive's estimate comes from its rate measured by an earlier transfer, not the
        // rate it announces.
        bool writeRateMeasured = false;
    };

    // Seconds done and left by the estimates alone.
    struct Split
    {
        double done = 0;
        double left = 0;
        // The same by part: converting and writing.
        double conversionDone = 0;
        double conversionLeft = 0;
        double writeDone = 0;
        double writeLeft = 0;
    };
    static Split split(const FileInfoModel& model, double conversionPercent, double writePercent);
    static Split split(const FileInfoModel& model, const Progress& progress)
    {
        return split(model, progress.conversionPercent, progress.writePercent);
    }

    // Seconds still to go: each file's estimated times left, scaled by how fast its part has
    // really been going (a part without progress yet counts as estimated). overlap: each
    // file's copy starts once it is converted and the copy before it has ended, beside the
    // conversions; else the write follows every conversion.
    static qint64 remainingSeconds(const FileInfoModel& model, const Progress& progress,
                                   bool overlap);

    // The transfer bar's new value for percent, or -1 to leave it: small values show as 12 so
    // the bar is visibly moving; a disc burn stops at 99 until the burner reports the end.
    static int barValue(int percent, bool writingToDisc);
};
