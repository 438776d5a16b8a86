#include "HiveFile.h"

#include <QByteArray>
#include <QtGlobal>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <pwd.h>
#include <set>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kvds {

namespace {

std::string DirName(const std::string& path)
{
    const auto slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return path.substr(0, slash);
}

std::string HomeDir()
{
    const QByteArray home = qgetenv("HOME");
    if (!home.isEmpty())
        return home.toStdString();
    if (const passwd* pw = getpwuid(getuid()))
        return pw->pw_dir ? pw->pw_dir : "/";
    return "/";
}

bool MakeDirs(const std::string& dir, mode_t mode)
{
    struct stat st;
    if (stat(dir.c_str(), &st) == 0)
        return S_ISDIR(st.st_mode);
    if (dir == "/" || dir == ".")
        return false;
    if (!MakeDirs(DirName(dir), mode))
        return false;
    return mkdir(dir.c_str(), mode) == 0 || errno == EEXIST;
}

bool WriteAll(int fd, const std::string& bytes)
{
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        done += size_t(n);
    }
    return true;
}

// One warning per damaged file and process, so a broken hive does not flood
// the trace log.
void WarnOnce(const std::string& path, const std::string& why)
{
    static std::mutex mutex;
    static std::set<std::string> warned;
    {
        std::lock_guard<std::mutex> lock(mutex);
        if (!warned.insert(path).second)
            return;
    }
    qWarning("HiveFile  Hive file %s cannot be used (%s); it is left untouched and read as empty",
             path.c_str(), why.c_str());
}

// Closes a descriptor (and so releases its flock) when the scope ends.
struct ScopedFd
{
    int fd = -1;
    ~ScopedFd()
    {
        if (fd >= 0)
            close(fd);
    }
};

} // namespace

HiveFile::HiveFile(Root root) : m_root(root), m_path(DefaultPath(root)) {}

HiveFile::HiveFile(Root root, const std::string& path) : m_root(root), m_path(path) {}

std::string HiveFile::DefaultPath(Root root)
{
    if (root == CurrentUser) {
        const QByteArray overridden = qgetenv("KAVO_USER_HIVE");
        if (!overridden.isEmpty())
            return overridden.toStdString();
        std::string config = qgetenv("XDG_CONFIG_HOME").toStdString();
        // XDG base directories must be absolute; a relative value is ignored.
        if (config.empty() || config[0] != '/')
            config = HomeDir() + "/.config";
        return config + "/Kavo/user.reg";
    }
    const QByteArray overridden = qgetenv("KAVO_MACHINE_HIVE");
    if (!overridden.isEmpty())
        return overridden.toStdString();
    return "/etc/xdg/Kavo/machine.reg";
}

std::u16string HiveFile::RootName() const
{
    return m_root == CurrentUser ? u"HKEY_CURRENT_USER" : u"HKEY_LOCAL_MACHINE";
}

std::string HiveFile::ResolvedPath() const
{
    // Replace the target of a symbolic link, not the link itself; the target
    // may not exist yet.
    std::string path = m_path;
    for (int depth = 0; depth < 16; ++depth) {
        struct stat st;
        if (lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            break;
        char target[PATH_MAX];
        const ssize_t n = readlink(path.c_str(), target, sizeof target - 1);
        if (n <= 0)
            break;
        target[n] = 0;
        path = target[0] == '/' ? std::string(target) : DirName(path) + "/" + target;
    }
    return path;
}

HiveFile::ReadResult HiveFile::ReadAndParse(const std::string& path, RegistryHive& hive) const
{
    hive.Clear();
    ScopedFd file;
    file.fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (file.fd < 0) {
        if (errno == ENOENT || errno == ENOTDIR)
            return ReadResult::Missing;
        WarnOnce(path, std::string("cannot be read: ") + strerror(errno));
        return ReadResult::Failed;
    }
    std::string bytes;
    char buffer[65536];
    while (true) {
        const ssize_t n = read(file.fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            WarnOnce(path, std::string("cannot be read: ") + strerror(errno));
            return ReadResult::Failed;
        }
        if (n == 0)
            break;
        bytes.append(buffer, size_t(n));
    }
    std::string error;
    if (!hive.Parse(bytes, RootName(), &error)) {
        WarnOnce(path, error);
        return ReadResult::Failed;
    }
    return ReadResult::Ok;
}

bool HiveFile::Load(RegistryHive& hive) const
{
    return ReadAndParse(m_path, hive) != ReadResult::Failed;
}

bool HiveFile::IsWritable() const
{
    const std::string path = ResolvedPath();
    if (access(path.c_str(), F_OK) == 0)
        return access(path.c_str(), W_OK) == 0 && access(DirName(path).c_str(), W_OK) == 0;
    std::string dir = DirName(path);
    while (access(dir.c_str(), F_OK) != 0 && dir != "/" && dir != ".")
        dir = DirName(dir);
    return access(dir.c_str(), W_OK | X_OK) == 0;
}

bool HiveFile::WriteAtomically(const std::string& path, const std::string& bytes) const
{
    static std::atomic<unsigned> counter{0};
    const std::string tmp =
        path + ".tmp." + std::to_string(getpid()) + "." + std::to_string(counter.fetch_add(1));
    ScopedFd out;
    out.fd = open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC,
                  m_root == CurrentUser ? 0600 : 0644);
    if (out.fd < 0)
        return false;
    struct stat st;
    if (stat(path.c_str(), &st) == 0)
        fchmod(out.fd, st.st_mode & 07777);
    const bool written = WriteAll(out.fd, bytes) && fsync(out.fd) == 0;
    const bool closed = close(out.fd) == 0;
    out.fd = -1;
    if (!written || !closed || rename(tmp.c_str(), path.c_str()) != 0) {
        unlink(tmp.c_str());
        return false;
    }
    // Make the rename itself durable.
    ScopedFd dir;
    dir.fd = open(DirName(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir.fd >= 0)
        fsync(dir.fd);
    return true;
}

bool HiveFile::Update(const std::function<Change(RegistryHive&)>& change) const
{
    const std::string path = ResolvedPath();
    if (!MakeDirs(DirName(path), m_root == CurrentUser ? 0700 : 0755))
        return false;
    ScopedFd lock;
    lock.fd = open((path + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC,
                   m_root == CurrentUser ? 0600 : 0644);
    if (lock.fd < 0)
        return false;
    while (flock(lock.fd, LOCK_EX) != 0) {
        if (errno != EINTR)
            return false;
    }
    RegistryHive hive;
    if (ReadAndParse(path, hive) == ReadResult::Failed)
        return false;
    switch (change(hive)) {
    case Change::Fail:
        return false;
    case Change::Unchanged:
        return true;
    case Change::Changed:
        break;
    }
    const std::string bytes = hive.Serialize(RootName());
    return !bytes.empty() && WriteAtomically(path, bytes);
}

} // namespace kvds
