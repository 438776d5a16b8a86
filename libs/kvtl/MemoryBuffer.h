#pragma once

#include <cstddef>
#include <cstdlib>
#include <cstring>

namespace kvtl {

// Growable heap array for char, unsigned char and 16-bit units. Resizing to a
// new count reallocates without keeping the old contents; a failed allocation
// leaves the buffer empty.
template <class T>
class MemoryBuffer
{
public:
    MemoryBuffer() = default;
    explicit MemoryBuffer(size_t count, bool zeroFill = false) { Resize(count, zeroFill); }
    MemoryBuffer(const MemoryBuffer& o) { Assign(o.m_data, o.m_count); }
    MemoryBuffer& operator=(const MemoryBuffer& o)
    {
        if (this != &o)
            Assign(o.m_data, o.m_count);
        return *this;
    }
    ~MemoryBuffer() { std::free(m_data); }

    bool Resize(size_t count, bool zeroFill = false)
    {
        if (count != m_count) {
            std::free(m_data);
            m_data = nullptr;
            m_count = 0;
            if (count) {
                m_data = static_cast<T*>(std::malloc(count * sizeof(T)));
                if (!m_data)
                    return false;
                m_count = count;
            }
        }
        if (zeroFill && m_data)
            std::memset(m_data, 0, m_count * sizeof(T));
        return count == 0 || m_data != nullptr;
    }
    bool Assign(const T* src, size_t count)
    {
        if (!Resize(count))
            return false;
        if (count)
            std::memcpy(m_data, src, count * sizeof(T));
        return true;
    }
    void Clear() { Resize(0); }

    T* Data() { return m_data; }
    const T* Data() const { return m_data; }
    size_t Count() const { return m_count; }
    size_t SizeInBytes() const { return m_count * sizeof(T); }
    T& operator[](size_t i) { return m_data[i]; }
    const T& operator[](size_t i) const { return m_data[i]; }

private:
    T* m_data = nullptr;
    size_t m_count = 0;
};

} // namespace kvtl
