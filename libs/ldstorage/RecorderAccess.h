#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

namespace ld {

// Whether this account may open a recorder's device node for writing. libburn's scan leaves
// out the drives it cannot open, without a word; this names the node and the group that
// would let the user in.
class RecorderAccess
{
public:
    struct Problem
    {
        std::string node;
        std::string group;
        std::string hint; // empty when the node can be opened
    };

    static Problem check(const std::string& node);
    static Problem check(const std::string& node, uid_t uid, const std::vector<gid_t>& groups);
    // The optical nodes ("sr0", "sr1"...) under devDir that this account cannot open.
    static std::vector<Problem> blockedNodes(const std::string& devDir = "/dev");
};

} // namespace ld
