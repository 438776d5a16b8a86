#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <vector>

#include "ISourceMedia.h"
#include "RefCountedPtr.h"

// The engine's estimate for one file: conversion time (0 for a file used unchanged) and the
// size of the output in bytes.
struct TranscodeEstimate
{
    quint32 transcodeTime = 0;
    quint64 outputSize = 0;
};

// The sources of one analysed file: the engine's source media for a file to convert, a
// pass-through source for one used unchanged or not found.
using SourceMediaList = std::vector<kvtl::RefCountedPtr<kvt::ISourceMedia>>;

// Output of the last file analysis. Every list holds one entry per analysed file, in file
// order, except directFiles, which names only the files that need no conversion.
struct AnalysisResults
{
    QList<TranscodeEstimate> estimates;
    QStringList outputPaths;
    QStringList directFiles;
    QList<int> resultCodes;
    QList<SourceMediaList> sources;

    void clear()
    {
        estimates.clear();
        outputPaths.clear();
        directFiles.clear();
        resultCodes.clear();
        sources.clear();
    }
};
