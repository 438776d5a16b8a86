#pragma once

// Writes bridge images to files the way libburn reads them, and runs the independent readers.

#include "ToolRun.h"
#include "UdfBridgeImage.h"

#include <QMap>
#include <QString>
#include <QStringList>

namespace udftest {

// Drives the image's burn_source to the end in reads of `chunk` bytes; all-zero chunks become
// holes, so a mostly sparse image costs little disk. Returns the last read's result (0: done).
int writeImage(udf::BridgeImage& image, const QString& path, int chunk = 64 * 1024);

// "key=value" lines (udfinfo) or KEY="value" pairs (blkid).
QMap<QString, QString> keyValues(const QString& text);

// Name -> size of every file in the root of the Joliet tree (xorriso) or the ISO 9660 tree
// (isoinfo -l); with dates, name -> the date the reader shows ("Mar 4 2001", local time).
QMap<QString, qint64> isoListing(const QString& image, bool joliet,
                                 QMap<QString, QString>* dates = nullptr);

// Bytes of the image at the file's extents, concatenated.
QByteArray readExtents(const QString& image, const std::vector<udf::FileExtent>& extents);

} // namespace udftest
