#pragma once

// While it lives, the calling thread and the threads it starts meet a file's mode as any user
// does: root gives up reading and searching past permissions (and takes them back after).
class ReadingAsAnyUser
{
public:
    ReadingAsAnyUser();
    ~ReadingAsAnyUser();
    ReadingAsAnyUser(const ReadingAsAnyUser&) = delete;
    ReadingAsAnyUser& operator=(const ReadingAsAnyUser&) = delete;
    bool ok() const { return m_ok; }

private:
    static bool set(bool allowed);
    bool m_ok = false;
};
