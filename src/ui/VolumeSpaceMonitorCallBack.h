#pragma once

#include <QtGlobal>
#include <string>

// Told by VolumeSpaceMonitor when the free space of a watched drive changed. Called on the
// monitor's own thread: an implementation hands the news to its own thread.
class VolumeSpaceMonitorCallBack
{
public:
    virtual void volumeSpaceChanged(const std::u16string& drive, quint64 newFreeSpace) = 0;

protected:
    ~VolumeSpaceMonitorCallBack() = default;
};
