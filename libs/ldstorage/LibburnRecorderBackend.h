#pragma once

#include "RecorderBackend.h"

namespace ld {

// The recorders of this host through libburn (scan, medium, erase, job status) and the
// kernel's CD-ROM ioctls (tray state and movement, which libburn cannot tell or do while
// nobody holds the drive).
class LibburnRecorderBackend : public RecorderBackend
{
public:
    std::vector<RecorderInfo> scan() override;
    int32_t checkAcquire(const std::string& address, std::string* reason) override;
    int32_t readMedium(const std::string& address, burn::burn_drive* drive,
                       MediumReport* medium) override;
    int32_t startErase(const std::string& address, burn::burn_drive* drive, bool fast,
                       std::string* reason) override;
    int pollJob(const std::string& address, burn::burn_drive* drive,
                burn::burn_progress* progress) override;
    bool jobWentWell(const std::string& address, burn::burn_drive* drive) override;
    std::string jobFailure(const std::string& address) override;
    TrayState trayState(const std::string& address) override;
    int32_t moveTray(const std::string& address, bool eject, std::string* reason) override;
};

} // namespace ld
