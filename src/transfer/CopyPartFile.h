#pragma once

#include <QString>
#include <functional>

// The part file of a copy in progress, "<name>.portavo.part" beside the file it becomes. From
// its creation until it has its final name the copy holds an flock on it, so a part file of
// ours that nobody holds is what a killed copy left and can go, and one that is held belongs to
// a live transfer (another user's, another process's) and is never touched. Files of other
// programs (a browser's "<name>.part") do not carry the name and are left alone. Only a
// holder of the lock removes or renames a part file, so none is removed while it is written.
class CopyPartFile
{
public:
    static const QString Suffix;

    enum class Name
    {
        // Nothing in the way (a stale part file of ours was removed).
        Free,
        // Not ours to touch, or could not be removed: take another name.
        Taken,
        // A live transfer has finished with it meanwhile: look at the name again.
        Settled,
        // The wait was given up.
        Abandoned
    };

    // Clears the way for a copy whose part file would be at part: removes a stale one, and
    // waits for a live one (asking keepWaiting between looks) to be finished.
    static Name settle(const QString& part, const std::function<bool()>& keepWaiting);

    // Creates the part file, which must not exist, holding its lock; -1 with errno (EEXIST
    // also when another transfer took it in the instant after it appeared).
    static int create(const QString& part);
    // Whether the file at part is still the one fd has open.
    static bool isOurs(int fd, const QString& part);
};
