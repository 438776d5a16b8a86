#include "StorageStatus.h"

#include "BurnerLog.h"

#include <cstdio>

namespace {

struct StatusRow
{
    int32_t code;
    const char* name;
};

const StatusRow kStatusRows[] = {
    {LD_OK, "None"},
    {LD_AudioDecoderError, "AudioDecoderError"},
    {LD_AudioEncoderError, "AudioEncoderError"},
    {LD_BufferOverflow, "BufferOverflow"},
    {LD_DataMiscompare, "DataMiscompare"},
    {LD_DeviceError, "DeviceError"},
    {LD_DeviceInUse, "DeviceInUse"},
    {LD_DeviceInQuickUse, "DeviceInQuickUse"},
    {LD_DeviceNotReady, "DeviceNotReady"},
    {LD_DeviceSelected, "DeviceSelected"},
    {LD_DeviceSenseError, "DeviceSenseError"},
    {LD_DllFailedToLoad, "DllFailedToLoad"},
    {LD_Fatal, "Fatal"},
    {LD_FileExists, "FileExists"},
    {LD_FileNotFound, "FileNotFound"},
    {LD_FileOpenFailed, "FileOpenFailed"},
    {LD_FolderExists, "FolderExists"},
    {LD_FolderNotFound, "FolderNotFound"},
    {LD_FullEraseNeeded, "FullEraseNeeded"},
    {LD_InvalidAccess, "InvalidAccess"},
    {LD_InvalidFile, "InvalidFile"},
    {LD_InvalidFolder, "InvalidFolder"},
    {LD_InvalidHandle, "InvalidHandle"},
    {LD_InvalidIndex, "InvalidIndex"},
    {LD_InvalidLanguageCode, "InvalidLanguageCode"},
    {LD_InvalidMediaType, "InvalidMediaType"},
    {LD_InvalidMetadata, "InvalidMetadata"},
    {LD_InvalidMetadataName, "InvalidMetadataName"},
    {LD_InvalidOperation, "InvalidOperation"},
    {LD_InvalidParameter, "InvalidParameter"},
    {LD_InvalidProjectType, "InvalidProjectType"},
    {LD_InvalidSequence, "InvalidSequence"},
    {LD_InvalidStringType, "InvalidStringType"},
    {LD_InvalidTime, "InvalidTime"},
    {LD_InvalidTimeUnit, "InvalidTimeUnit"},
    {LD_InvalidTrackType, "InvalidTrackType"},
    {LD_MediaError, "MediaError"},
    {LD_MediaFull, "MediaFull"},
    {LD_MetadataNotFound, "MetadataNotFound"},
    {LD_MetadataTypeMismatch, "MetadataTypeMismatch"},
    {LD_NotEnoughStorage, "NotEnoughStorage"},
    {LD_NotFound, "NotFound"},
    {LD_NotImplemented, "NotImplemented"},
    {LD_NotInitialized, "NotInitialized"},
    {LD_NotSupported, "NotSupported"},
    {LD_ReadError, "ReadError"},
    {LD_ReentrantCall, "ReentrantCall"},
    {LD_StreamCallbackError, "StreamCallbackError"},
    {LD_TrackCountOverflow, "TrackCountOverflow"},
    {LD_UnsupportedVersion, "UnsupportedVersion"},
    {LD_UserCancelled, "UserCancelled"},
    {LD_WriteError, "WriteError"},
    {LD_InvalidLayerBreak, "InvalidLayerBreak"},
};

} // namespace

const char* StorageStatus::Name(int32_t code)
{
    for (const StatusRow& row : kStatusRows) {
        if (row.code == code)
            return row.name;
    }
    return nullptr;
}

void StorageStatus::AppendText(int32_t code, std::string& text, StorageLibrary* library,
                               LD_DeviceRecord* record)
{
    const char* name = Name(code);
    if (!name) {
        char missing[64];
        std::snprintf(missing, sizeof missing, "Missing error text in app: [%d]", int(code));
        text += missing;
        return;
    }
    text += name;
    if (code != LD_DeviceSenseError)
        return;
    uint8_t sense[21] = {};
    if (library && record && library->GetError(record, sense, sizeof sense) == LD_OK) {
        char bytes[32];
        std::snprintf(bytes, sizeof bytes, " (%02x/%02x/%02x)", sense[2], sense[3], sense[4]);
        text += bytes;
    } else {
        text += " (could not retrieve sense error)";
    }
}

std::string StorageStatus::Text(int32_t code, StorageLibrary* library, LD_DeviceRecord* record)
{
    std::string text;
    AppendText(code, text, library, record);
    return text;
}

void StorageStatus::LogError(int32_t code, StorageLibrary* library, LD_DeviceRecord* record)
{
    BurnerLog() << "Error: " << Text(code, library, record);
}

uint32_t StorageStatus::ToResult(int32_t code)
{
    if (code == LD_OK)
        return 0;
    return code == LD_FileNotFound ? 32 : 39;
}
