#include "BurnRuntime.h"

#include "BurnApi.h"
#include "LdLog.h"

namespace ld {

BurnRuntime::BurnRuntime()
{
    char msg[1024] = {};
    if (isoburn_initialize(msg, 0) <= 0) {
        logLine(std::string("Cannot start libisoburn: ") + msg);
        return;
    }
    // Keep the libraries quiet on stderr; their messages are collected and logged by us.
    burn_msgs_set_severities(const_cast<char*>("SORRY"), const_cast<char*>("NEVER"),
                             const_cast<char*>("ldstorage: "));
    iso_set_local_charset(const_cast<char*>("UTF-8"), 0);
    ok_ = true;
}

BurnRuntime::~BurnRuntime()
{
    if (ok_)
        isoburn_finish();
}

bool BurnRuntime::ensure()
{
    static BurnRuntime runtime;
    return runtime.ok_;
}

std::string BurnRuntime::takeMessages()
{
    std::string out;
    char text[BURN_MSGS_MESSAGE_LEN + 1];
    char severity[80];
    int code = 0;
    int osErrno = 0;
    while (burn_msgs_obtain(const_cast<char*>("SORRY"), &code, text, &osErrno, severity) == 1) {
        if (!out.empty())
            out += "\n";
        out += std::string(severity) + ": " + text;
    }
    return out;
}

} // namespace ld
