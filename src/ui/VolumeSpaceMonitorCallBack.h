#pragma once

#include <QtGlobal>
#include <string>

// Told by VolumeSpaceMonitor when the free space of a watched drive changed. Called on the
// monitor's own thread: an implementation hands the news to its own thread.
class VolumeSpaceMonitorCallBack
{
public:
    virtual void volumeSpaceChanged(const std::u16string& drive, quint64 newFreeSpace) = 0;
    // A disc was put into or taken out of a watched burner (its state changed).
    virtual void discStateChanged(const std::u16string& drive) { Q_UNUSED(drive); }

protected:
    ~VolumeSpaceMonitorCallBack() = default;
};
