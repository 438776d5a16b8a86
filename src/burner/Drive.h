#pragma once

#include "DrivePrivateData.h"
#include "RefCountedPtr.h"

#include <cstdint>
#include <string>

// A recorder as the burner hands it out. Copies share the open device (its DrivePrivateData),
// which stays open while any copy lives. The letter is a non-zero marker for a real drive; a
// default-constructed Drive is the empty record, which the burner refuses.
class Drive
{
public:
    Drive() = default;
    Drive(const std::u16string& path, const std::u16string& name)
        : m_letter(path.empty() ? 0u : uint32_t(path.front() & 0xFF)), m_path(path), m_name(name)
    {
    }
    Drive(uint32_t letter, const std::u16string& path, const std::u16string& name,
          DrivePrivateData* data)
        : m_letter(letter), m_path(path), m_name(name), m_data(data)
    {
    }
    virtual ~Drive() = default;

    Drive(const Drive&) = default;
    Drive& operator=(const Drive&) = default;

    char16_t letter() const { return char16_t(m_letter); }
    bool isEmpty() const { return m_letter == 0; }
    // Device path ("/dev/sr0") or the image file of an image burner.
    const std::u16string& path() const { return m_path; }
    // The recorder's description.
    const std::u16string& name() const { return m_name; }

    DrivePrivateData* privateData() const { return m_data.get(); }
    // The storage library's record of the open device; all zero without one.
    LD_DeviceRecord record() const { return m_data ? m_data->Record() : LD_DeviceRecord{}; }

private:
    uint32_t m_letter = 0;
    uint32_t m_reserved = 0;
    std::u16string m_path;
    std::u16string m_name;
    kvtl::RefCountedPtr<DrivePrivateData> m_data;
};
