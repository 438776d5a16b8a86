#pragma once

#include "IRefCounted.h"

namespace kvtl {

// Owning handle holding one counted reference. This is the form stored in
// containers: copying adds a reference, destruction releases it.
template <class T>
class RefCountedPtr_STLSafe
{
public:
    RefCountedPtr_STLSafe() = default;
    RefCountedPtr_STLSafe(T* p) : m_p(p)
    {
        if (m_p)
            m_p->AddRef();
    }
    RefCountedPtr_STLSafe(const RefCountedPtr_STLSafe& o) : RefCountedPtr_STLSafe(o.m_p) {}
    RefCountedPtr_STLSafe(RefCountedPtr_STLSafe&& o) noexcept : m_p(o.m_p) { o.m_p = nullptr; }
    virtual ~RefCountedPtr_STLSafe() { reset(); }

    RefCountedPtr_STLSafe& operator=(T* p)
    {
        if (p)
            p->AddRef();
        T* old = m_p;
        m_p = p;
        if (old)
            old->Release();
        return *this;
    }
    RefCountedPtr_STLSafe& operator=(const RefCountedPtr_STLSafe& o) { return *this = o.m_p; }
    RefCountedPtr_STLSafe& operator=(RefCountedPtr_STLSafe&& o) noexcept
    {
        if (this != &o) {
            reset();
            m_p = o.m_p;
            o.m_p = nullptr;
        }
        return *this;
    }

    void reset()
    {
        T* old = m_p;
        m_p = nullptr;
        if (old)
            old->Release();
    }
    // Hands the reference to the caller without releasing it.
    T* detach()
    {
        T* p = m_p;
        m_p = nullptr;
        return p;
    }

    T* get() const { return m_p; }
    T* operator->() const { return m_p; }
    T& operator*() const { return *m_p; }
    explicit operator bool() const { return m_p != nullptr; }
    bool operator==(const T* p) const { return m_p == p; }
    bool operator!=(const T* p) const { return m_p != p; }

protected:
    T* m_p = nullptr;
};

template <class T>
class RefCountedPtr : public RefCountedPtr_STLSafe<T>
{
public:
    using RefCountedPtr_STLSafe<T>::RefCountedPtr_STLSafe;
    using RefCountedPtr_STLSafe<T>::operator=;
    RefCountedPtr() = default;
    RefCountedPtr(const RefCountedPtr&) = default;
    RefCountedPtr& operator=(const RefCountedPtr&) = default;
};

} // namespace kvtl
