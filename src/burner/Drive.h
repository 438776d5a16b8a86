#pragma once

#include <string>

// A recorder as the burner hands it out. Copies describe the same device. The letter is a
// non-zero marker for a real drive; a default-constructed Drive is the empty record.
class Drive
{
public:
    Drive() = default;
    Drive(const std::u16string& path, const std::u16string& name)
        : m_letter(path.empty() ? u'\0' : path.front()), m_path(path), m_name(name)
    {
    }

    char16_t letter() const { return m_letter; }
    bool isEmpty() const { return m_letter == u'\0'; }
    // Device path ("/dev/sr0") or the image file of an image burner.
    const std::u16string& path() const { return m_path; }
    const std::u16string& name() const { return m_name; }

private:
    char16_t m_letter = u'\0';
    std::u16string m_path;
    std::u16string m_name;
};
