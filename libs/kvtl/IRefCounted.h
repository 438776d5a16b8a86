#pragma once

namespace kvtl {

// Base of every interface that crosses a module boundary. Counts are plain
// ints: each object has one owning thread.
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
template <class Interface>
class RefCountedImpl : public Interface
{
public:
    int AddRef() override { return ++m_refCount; }
    int Release() override
    {
        if (--m_refCount <= 0) {
            delete this;
            return 0;
        }
        return m_refCount;
    }
    int GetRefCount() const override { return m_refCount; }

protected:
    int m_refCount = 0;
};

} // namespace kvtl
