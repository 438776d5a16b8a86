#include "ReadingAsAnyUser.h"

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

ReadingAsAnyUser::ReadingAsAnyUser() : m_ok(set(false)) {}

ReadingAsAnyUser::~ReadingAsAnyUser()
{
    set(true);
}

bool ReadingAsAnyUser::set(bool allowed)
{
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[2] = {};
    if (::syscall(SYS_capget, &header, data) != 0)
        return false;
    const __u32 bits = (1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH);
    data[0].effective =
        allowed ? data[0].effective | (bits & data[0].permitted) : data[0].effective & ~bits;
    return ::syscall(SYS_capset, &header, data) == 0;
}
