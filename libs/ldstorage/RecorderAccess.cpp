#include "RecorderAccess.h"

#include <algorithm>
#include <dirent.h>
#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ld {

namespace {

std::vector<gid_t> ownGroups()
{
    std::vector<gid_t> groups(size_t(std::max(0, ::getgroups(0, nullptr))));
    groups.resize(size_t(std::max(0, ::getgroups(int(groups.size()), groups.data()))));
    groups.push_back(::getegid());
    return groups;
}

std::string groupName(gid_t gid)
{
    if (const group* g = ::getgrgid(gid))
        return g->gr_name;
    return std::to_string(gid);
}

} // namespace

RecorderAccess::Problem RecorderAccess::check(const std::string& node)
{
    return check(node, ::geteuid(), ownGroups());
}

RecorderAccess::Problem RecorderAccess::check(const std::string& node, uid_t uid,
                                              const std::vector<gid_t>& groups)
{
    Problem p;
    p.node = node;
    struct stat st = {};
    if (::stat(node.c_str(), &st) != 0 || uid == 0)
        return p;
    p.group = groupName(st.st_gid);
    const bool inGroup = std::find(groups.begin(), groups.end(), st.st_gid) != groups.end();
    const mode_t rw = st.st_uid == uid ? (S_IRUSR | S_IWUSR)
                      : inGroup        ? (S_IRGRP | S_IWGRP)
                                       : (S_IROTH | S_IWOTH);
    if ((st.st_mode & rw) == rw)
        return p;
    if (st.st_uid != uid && !inGroup && (st.st_mode & (S_IRGRP | S_IWGRP)) == (S_IRGRP | S_IWGRP))
        p.hint = "Your account may not use the recorder " + node + ": it belongs to the group \"" +
                 p.group + "\". Add your account to that group (for example: sudo usermod -aG " +
                 p.group + " $USER), then log out and in again.";
    else
        p.hint = "Your account may not read and write the recorder " + node + " (owner group \"" +
                 p.group + "\"). Ask the computer's administrator for access.";
    return p;
}

std::vector<RecorderAccess::Problem> RecorderAccess::blockedNodes(const std::string& devDir)
{
    std::vector<Problem> out;
    DIR* dir = ::opendir(devDir.c_str());
    if (!dir)
        return out;
    std::vector<std::string> names;
    while (const dirent* e = ::readdir(dir)) {
        const std::string name = e->d_name;
        if (name.size() > 2 && name.compare(0, 2, "sr") == 0 &&
            name.find_first_not_of("0123456789", 2) == std::string::npos)
            names.push_back(name);
    }
    ::closedir(dir);
    std::sort(names.begin(), names.end());
    for (const std::string& name : names) {
        Problem p = check(devDir + "/" + name);
        if (!p.hint.empty())
            out.push_back(std::move(p));
    }
    return out;
}

} // namespace ld
