#pragma once

#include <QtGlobal>

#include "IRefCounted.h"

// Receives the progress of a disc write. Called on the thread that runs the burner's Run(),
// about once a second, with counts of sectors.
class IKavoMediaBurnerCallback : public kvtl::IRefCounted
{
public:
    virtual void OnProgress(quint64 current, quint64 total) = 0;
    // Every step of the burn with its own count, when it changes: phase is the library's
    // (0 open, 1 format, 2 mount, 3 plan, 4 write, 5 close, 6 verify).
    virtual void OnBurnPhase(quint32 phase, quint64 current, quint64 total)
    {
        Q_UNUSED(phase);
        Q_UNUSED(current);
        Q_UNUSED(total);
    }
};
