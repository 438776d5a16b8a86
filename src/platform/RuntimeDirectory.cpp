#include "RuntimeDirectory.h"

#include <cerrno>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool ownedDirectory(const std::string& path)
{
    struct stat st;
    if (::lstat(path.c_str(), &st) != 0)
        return false;
    return S_ISDIR(st.st_mode) && st.st_uid == ::getuid();
}

} // namespace

bool RuntimeDirectory::EnsurePrivateDirectory(const std::string& path)
{
    if (path.empty())
        return false;
    if (::mkdir(path.c_str(), 0700) != 0 && errno != EEXIST)
        return false;
    struct stat st;
    if (::lstat(path.c_str(), &st) != 0)
        return false;
    if (!S_ISDIR(st.st_mode) || st.st_uid != ::getuid())
        return false;
    if ((st.st_mode & 077) != 0 && ::chmod(path.c_str(), 0700) != 0)
        return false;
    return true;
}

std::string RuntimeDirectory::Base()
{
    const char* xdg = std::getenv("XDG_RUNTIME_DIR");
    if (xdg && xdg[0] == '/' && ownedDirectory(xdg))
        return xdg;
    const std::string fallback = "/tmp/kavo-" + std::to_string(::getuid());
    if (EnsurePrivateDirectory(fallback))
        return fallback;
    // Someone else took that name in the shared /tmp: use the user's cache.
    std::string cache;
    if (const char* xdgCache = std::getenv("XDG_CACHE_HOME"); xdgCache && xdgCache[0] == '/')
        cache = xdgCache;
    else if (const char* home = std::getenv("HOME"); home && home[0] == '/')
        cache = std::string(home) + "/.cache";
    if (cache.empty())
        return {};
    ::mkdir(cache.c_str(), 0700);
    const std::string kavo = cache + "/Kavo";
    if (!EnsurePrivateDirectory(kavo) || !EnsurePrivateDirectory(kavo + "/run"))
        return {};
    return kavo + "/run";
}

std::string RuntimeDirectory::Subdirectory(const std::string& name)
{
    const std::string base = Base();
    if (base.empty())
        return {};
    const std::string path = base + "/" + name;
    return EnsurePrivateDirectory(path) ? path : std::string();
}
