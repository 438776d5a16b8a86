#pragma once

#include <memory>

class EventState;

// An automatic-reset event that starts signalled: each Wait lets one waiter
// through and closes the event again until Set.
class KavoThreadEvent
{
public:
    KavoThreadEvent();
    virtual ~KavoThreadEvent();

    KavoThreadEvent(const KavoThreadEvent&) = delete;
    KavoThreadEvent& operator=(const KavoThreadEvent&) = delete;

    // Both do nothing when the event could not be created.
    void Wait();
    void Set();
    bool IsValid() const { return m_handle != nullptr; }

private:
    std::unique_ptr<EventState> m_handle;
};
