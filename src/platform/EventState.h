#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>

// The in-process event object behind KavoThreadEvent and kvpm::Event: manual
// or automatic reset, with a signalled state.
class EventState
{
public:
    static constexpr uint32_t kInfinite = 0xFFFFFFFFu;

    EventState(bool manualReset, bool initialState);

    EventState(const EventState&) = delete;
    EventState& operator=(const EventState&) = delete;

    // True when the event was (or became) signalled within timeoutMs
    // (kInfinite: no limit). An automatic-reset event is consumed by the wait.
    bool Wait(uint32_t timeoutMs);
    void Set();
    void Reset();

private:
    bool ConsumeLocked();

    std::mutex m_mutex;
    std::condition_variable m_cv;
    const bool m_manualReset;
    bool m_signalled;
};
