#pragma once

// Burns files to an image burner through the flat interface and reads images back with
// xorriso, a reader this project does not write.
#include "LDStorage.h"
#include "ToolRun.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QMap>
#include <QString>
#include <QVector>
#include <functional>

namespace ldtest {

struct Burn
{
    int32_t openStatus = -1;
    int32_t createStatus = -1;
    int32_t mountStatus = -1;
    int32_t entryStatus = LD_OK;
    int32_t flushStatus = -1;
    uint32_t fileSystemsFound = 0;
    QVector<LD_ProgressRecord> reports;
    QStringList unreadable;
    // The library's reason for the failure, as the device gives it.
    QString lastFailure;
    // Answers each progress report; 0 goes on.
    std::function<int32_t(const LD_ProgressRecord&)> onReport;
};

inline int32_t onProgress(const int32_t* kind, int32_t, LD_ProgressRecord* record, void* context)
{
    auto* burn = static_cast<Burn*>(context);
    if (*kind != LD_ReportProgress || !record)
        return 0;
    burn->reports.push_back(*record);
    return burn->onReport ? burn->onReport(*record) : 0;
}

inline LD_Text text16(const std::u16string& s)
{
    return LD_Text{LD_Text16, uint32_t(s.size() + 1), s.c_str()};
}

// Opens the only recorder configured ("MEDIA:PATH").
inline bool openRecorder(const QString& medium, const QString& image, LD_DeviceRecord* record)
{
    LD_SetScanOpticalDrives(0);
    LD_SetImageBurners((medium + ":" + image).toUtf8().constData());
    uint32_t count = 0;
    return LD_GetStorageDeviceCount(LD_ClassRecorders, &count) == LD_OK && count == 1 &&
           LD_OpenStorageDevice(1, record, 0, 0, 0) == LD_OK;
}

// The burn thread's sequence on an open device: volume, create (or mount when asked),
// entries, flush, close of the volume.
inline Burn burnOn(LD_DeviceRecord& device, const QVector<QPair<QString, QString>>& files,
                   uint32_t fileSystem,
                   std::function<int32_t(const LD_ProgressRecord&)> onReport = {},
                   bool mount = false)
{
    Burn b;
    b.onReport = std::move(onReport);
    LD_VolumeHandle volume = 0;
    b.openStatus =
        LD_StorageDevice_OpenVolume(&device, &b.fileSystemsFound, onProgress, &b, &volume);
    if (b.openStatus == LD_OK) {
        const char label[] = "KavoTransferWizard";
        LD_Text name{LD_Text8, sizeof label, label};
        if (mount)
            b.mountStatus = LD_Volume_Mount(&volume, 2, onProgress, &b);
        else
            b.createStatus = LD_Volume_Create(&volume, fileSystem, &name, 2, onProgress, &b);
        for (const auto& f : files) {
            if (b.entryStatus != LD_OK)
                break;
            const std::u16string n = f.first.toStdU16String();
            const std::u16string p = f.second.toStdU16String();
            LD_Text nt = text16(n);
            LD_Text pt = text16(p);
            b.entryStatus = LD_Volume_CreateEntryFromHD(&volume, &nt, &pt, 3);
        }
        if (b.entryStatus == LD_OK)
            b.flushStatus = LD_Volume_Flush(&volume, onProgress, &b, 1, 0);
        char16_t list[0x508 / 2] = {};
        uint32_t got = 0;
        if (LD_Volume_GetProperty(&volume, LD_VolUnreadableFiles, sizeof list, list, &got) == LD_OK)
            for (const char16_t* p = list; *p; p += std::char_traits<char16_t>::length(p) + 1)
                b.unreadable << QString::fromStdU16String(p);
        LD_Volume_Close(&volume);
    }
    char16_t reason[1024] = {};
    if (LD_StorageDevice_GetDeviceProperty(&device, LD_DevLastFailure, sizeof reason, reason,
                                           nullptr, 0, 0, 0, 0) == LD_OK)
        b.lastFailure = QString::fromStdU16String(reason);
    return b;
}

// The same on the only recorder configured ("MEDIA:PATH"), opened and closed around it.
inline Burn burnFiles(const QString& medium, const QString& image,
                      const QVector<QPair<QString, QString>>& files, uint32_t fileSystem,
                      std::function<int32_t(const LD_ProgressRecord&)> onReport = {},
                      bool mount = false)
{
    LD_DeviceRecord device = {};
    if (!openRecorder(medium, image, &device))
        return Burn();
    Burn b = burnOn(device, files, fileSystem, std::move(onReport), mount);
    LD_StorageDevice_Close(&device);
    return b;
}

// The file a burn is writing: a new image is staged beside its path until it is verified.
inline QString fileBeingWritten(const QString& image)
{
    const QFileInfo info(image);
    const QString staging = info.path() + "/." + info.fileName() + ".portavo-new";
    return QFile::exists(staging) ? staging : image;
}

inline QByteArray md5Of(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QCryptographicHash h(QCryptographicHash::Md5);
    h.addData(&f);
    return h.result().toHex();
}

// Extracts the whole image and maps name -> MD5: the UDF side with 7-Zip when the image
// carries UDF, else the ISO 9660 side with xorriso (Rock Ridge names).
inline QMap<QString, QByteArray> extractImage(const QString& image, const QString& into)
{
    QDir().mkpath(into);
    QMap<QString, QByteArray> out;
    if (!ToolRun::run("7z", {"x", "-tudf", "-y", "-o" + into, image}, -1).ok() &&
        !ToolRun::extractImage(image, into, -1).ok())
        return out;
    for (const QFileInfo& fi : QDir(into).entryInfoList(QDir::Files | QDir::Hidden))
        out[fi.fileName()] = md5Of(fi.filePath());
    return out;
}

} // namespace ldtest
