#pragma once

#include "StorageLibrary.h"

#include <string>
#include <vector>

// Scope owner of one volume of the storage library. Every step logs its duration; the volume
// is closed when the scope ends, whatever happened before.
class LDVolume
{
public:
    LDVolume(StorageLibrary& library, LD_ProgressCallback callback, void* context);
    virtual ~LDVolume();

    LDVolume(const LDVolume&) = delete;
    LDVolume& operator=(const LDVolume&) = delete;

    // Opens the volume of the medium in the recorder; fileSystems receives the file systems
    // found on it (0: none).
    int32_t Open(LD_DeviceRecord& record, uint32_t& fileSystems);
    int32_t Create(uint32_t fileSystem, const std::string& name);
    int32_t Mount();
    int32_t AddEntry(const std::u16string& nameOnDisc, const std::u16string& sourcePath);
    int32_t Flush();
    // Source files the last flush could not read. BufferOverflow: more than the list holds.
    int32_t UnreadableFiles(std::vector<std::u16string>& files);
    void Close();

    bool IsOpen() const { return m_handle != 0; }
    // Status of the last volume step.
    int32_t Status() const { return m_status; }
    void SetStatus(int32_t status) { m_status = status; }

private:
    void LogDuration(uint64_t startMs) const;

    StorageLibrary& m_library;
    LD_ProgressCallback m_callback;
    void* m_context;
    LD_VolumeHandle m_handle = 0;
    int32_t m_status = 0;
};
