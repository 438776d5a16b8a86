#pragma once

#include <QRunnable>
#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "VolumeSpaceMonitorCallBack.h"

namespace kvpm {
class Event;
}

// Watches the free space of the destination drives while the file page shows: polls each
// drive once a second on the global thread pool and reports at most one change a second (a
// copy onto the drive, a drive pulled out, which reads as 0 bytes free).
class VolumeSpaceMonitor : public QRunnable
{
public:
    explicit VolumeSpaceMonitor(VolumeSpaceMonitorCallBack* callback);
    ~VolumeSpaceMonitor() override;

    VolumeSpaceMonitor(const VolumeSpaceMonitor&) = delete;
    VolumeSpaceMonitor& operator=(const VolumeSpaceMonitor&) = delete;

    // The state of the disc in a burner, asked on the monitor's thread; any change is news.
    using DiscProbe = std::function<quint32(const std::u16string&)>;

    // Stops a running poll, then watches drives and the discs of burners (nothing when both
    // lists are empty).
    void start(const std::vector<std::u16string>& drives,
               const std::vector<std::u16string>& burners = {}, DiscProbe probe = {});
    // Ends the poll loop and waits for it; returns at once when none runs.
    void stop();
    void run() override;

    bool isRunning() const { return m_running; }
    // Poll rounds completed since the last start.
    int rounds() const { return m_rounds; }

    // Bytes available to the user on the volume holding path; 0 when it cannot be asked.
    static quint64 freeBytesOf(const std::u16string& path);

    static constexpr int PollIntervalMs = 1000;

private:
    std::vector<std::pair<std::u16string, quint64>> m_entries;
    std::vector<std::pair<std::u16string, quint32>> m_burners;
    DiscProbe m_probe;
    std::atomic<bool> m_running{false};
    std::atomic<int> m_rounds{0};
    // Signalled while no poll loop runs ("DiskSpaceMonitorEvent").
    std::unique_ptr<kvpm::Event> m_stopped;
    VolumeSpaceMonitorCallBack* m_callback = nullptr;
};
