#pragma once

#include <QString>

// The questions a transfer may have to ask while it runs. The face that drives the transfer
// answers them: the wizard with its message boxes, an unattended run by its rules. Asked on
// the transfer's own (GUI) thread.
class TransferPrompts
{
public:
    // A file could not be converted (error: the engine's code). othersLeft: files are still
    // waiting for their conversion. True goes on with them; false stops the transfer.
    virtual bool continueAfterConversionError(int error, const QString& file, bool othersLeft) = 0;

protected:
    ~TransferPrompts() = default;
};
