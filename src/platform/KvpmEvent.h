#pragma once

#include <cstdint>
#include <memory>
#include <string>

class EventState;

namespace kvpm {

// An event with manual or automatic reset. Names are labels for diagnostics:
// events are private to the process. A name longer than 260 characters
// cannot name an event; the event is then invalid (null handle).
class Event
{
public:
    static constexpr uint32_t kInfinite = 0xFFFFFFFFu;
    // SignalAndWait results.
    static constexpr uint32_t kWaitObject0 = 0;
    static constexpr uint32_t kWaitFailed = 0xFFFFFFFFu;
    static constexpr size_t kMaxNameLength = 260;

    // name may be null.
    Event(const char* name, bool manualReset, bool initialState);
    virtual ~Event();

    Event(const Event&) = delete;
    Event& operator=(const Event&) = delete;

    // False only when timeoutMs (kInfinite: no limit) passed without the event
    // being signalled; an invalid event therefore answers true at once.
    virtual bool Wait(uint32_t timeoutMs);
    virtual void Set();
    // Signals this event, then waits without limit for other. Returns
    // kWaitObject0, or kWaitFailed (nothing signalled) when either is invalid.
    virtual uint32_t SignalAndWait(Event& other);
    virtual void Reset();

    bool IsValid() const { return m_handle != nullptr; }
    const std::string& Name() const { return m_name; }

private:
    std::unique_ptr<EventState> m_handle;
    std::string m_name;
};

} // namespace kvpm
