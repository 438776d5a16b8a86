#pragma once

// State of the current transfer. Read and written only under the controller's state mutex.
namespace TransferState {
enum Value : int
{
    Idle = 0,
    Stopped = 1,
    Transcoding = 2,
    CopyingToUSB = 3,
    WritingDisc = 4,
    Finished = 128,
};
} // namespace TransferState
