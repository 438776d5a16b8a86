#pragma once

#include <QtGlobal>

#include "IRefCounted.h"

// Receives the progress of a disc write. Called on the thread that runs the burner's Run(),
// about once a second, with counts of sectors.
class IKavoMediaBurnerCallback : public kvtl::IRefCounted
{
public:
    virtual void OnProgress(quint64 current, quint64 total) = 0;
};
