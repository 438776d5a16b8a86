#pragma once

#include <atomic>

namespace kvtl {

// Base of every interface that crosses a module boundary. References are
// taken and dropped on several threads (the messaging thread copies its
// subscribers, engine threads hold callbacks), so counts are atomic.
class IRefCounted
{
public:
    virtual ~IRefCounted() = default;
    virtual int AddRef() = 0;
    // Below 1 the object destroys itself and 0 is returned.
    virtual int Release() = 0;
    virtual int GetRefCount() const = 0;
};

// The usual implementation of the three counting operations, for a class that
// derives from one interface.
template <class Interface> class RefCountedImpl : public Interface
{
public:
    int AddRef() override { return ++m_refCount; }
    int Release() override
    {
        // The decremented value, not a second read: another thread may
        // release the last reference right after this one.
        const int count = --m_refCount;
        if (count <= 0) {
            delete this;
            return 0;
        }
        return count;
    }
    int GetRefCount() const override { return m_refCount; }

protected:
    std::atomic<int> m_refCount{0};
};

} // namespace kvtl
