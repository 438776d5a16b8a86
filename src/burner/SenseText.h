#pragma once

#include <QString>
#include <cstdint>

// The drive's sense bytes (key, ASC, ASCQ) and the storage library's failures in words a user
// understands: the reason a burn failed, for the box that names the file.
class SenseText
{
public:
    // Words for a sense triple; empty when it is not one of the common cases.
    static QString Describe(uint8_t key, uint8_t asc, uint8_t ascq);
    // The reason of a failed burn: the drive gone, else the sense bytes (bytes 2..4 of the
    // library's 21-byte record), else the library's status. Empty for a cancelled burn.
    static QString ForFailure(int32_t status, const uint8_t* sense, bool driveGone);
};
