#include "VolumeSpaceMonitor.h"

#include <QFile>
#include <QString>
#include <QThreadPool>
#include <chrono>
#include <sys/statvfs.h>
#include <thread>

#include "KvpmEvent.h"

namespace {
// The sleep between rounds is cut into steps so stop() does not wait a whole second.
constexpr int SleepStepMs = 50;
constexpr uint32_t StopWaitStepMs = 3000;
} // namespace

VolumeSpaceMonitor::VolumeSpaceMonitor(VolumeSpaceMonitorCallBack* callback)
    : m_stopped(std::make_unique<kvpm::Event>("DiskSpaceMonitorEvent", true, true)),
      m_callback(callback)
{
    setAutoDelete(false);
}

VolumeSpaceMonitor::~VolumeSpaceMonitor()
{
    stop();
}

quint64 VolumeSpaceMonitor::freeBytesOf(const std::u16string& path)
{
    struct statvfs st;
    const QByteArray name =
        QFile::encodeName(QString::fromUtf16(path.data(), qsizetype(path.size())));
    if (name.isEmpty() || ::statvfs(name.constData(), &st) != 0)
        return 0;
    return quint64(st.f_bavail) * (st.f_frsize ? st.f_frsize : st.f_bsize);
}

void VolumeSpaceMonitor::start(const std::vector<std::u16string>& drives,
                               const std::vector<std::u16string>& burners, DiscProbe probe)
{
    stop();
    m_entries.clear();
    m_burners.clear();
    m_probe = std::move(probe);
    for (const std::u16string& drive : drives)
        m_entries.emplace_back(drive, freeBytesOf(drive));
    if (m_probe) {
        for (const std::u16string& burner : burners)
            m_burners.emplace_back(burner, m_probe(burner));
    }
    if (m_entries.empty() && m_burners.empty())
        return;
    // Marked running before the pool picks it up, so a stop() right after start() waits for
    // the loop instead of missing it.
    m_rounds = 0;
    m_stopped->Reset();
    m_running = true;
    QThreadPool::globalInstance()->start(this, 0);
}

void VolumeSpaceMonitor::stop()
{
    if (!m_running)
        return;
    m_running = false;
    while (!m_stopped->Wait(StopWaitStepMs)) {
    }
}

void VolumeSpaceMonitor::run()
{
    while (m_running) {
        bool reported = false;
        for (auto& [path, lastFree] : m_entries) {
            if (!m_running)
                break;
            const quint64 now = freeBytesOf(path);
            if (now == lastFree)
                continue;
            // One change a round: a second drive that changed too is reported next round.
            lastFree = now;
            if (m_callback)
                m_callback->volumeSpaceChanged(path, now);
            reported = true;
            break;
        }
        // A disc inserted or taken out mounts nothing: the burners are asked themselves.
        for (auto& [path, lastState] : m_burners) {
            if (reported || !m_running)
                break;
            const quint32 now = m_probe(path);
            if (now == lastState)
                continue;
            lastState = now;
            if (m_callback)
                m_callback->discStateChanged(path);
            reported = true;
        }
        ++m_rounds;
        for (int slept = 0; slept < PollIntervalMs && m_running; slept += SleepStepMs)
            std::this_thread::sleep_for(std::chrono::milliseconds(SleepStepMs));
    }
    m_stopped->Set();
}
