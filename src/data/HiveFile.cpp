#include "HiveFile.h"

#include <QByteArray>
#include <QtGlobal>

#include <atomic>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <map>
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

std::string BaseName(const std::string& path)
{
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool WriteAll(const kvds::HiveFileOperations& ops, int fd, const std::string& bytes)
{
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ops.write(fd, bytes.data() + done, bytes.size() - done);
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

// What tells one version of a file from the next.
struct FileIdentity
{
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    timespec modified{};
    timespec changed{};

    explicit FileIdentity(const struct stat& st)
        : device(st.st_dev), inode(st.st_ino), size(st.st_size), modified(st.st_mtim),
          changed(st.st_ctim)
    {
    }
    bool operator==(const FileIdentity& o) const
    {
        return device == o.device && inode == o.inode && size == o.size &&
               modified.tv_sec == o.modified.tv_sec && modified.tv_nsec == o.modified.tv_nsec &&
               changed.tv_sec == o.changed.tv_sec && changed.tv_nsec == o.changed.tv_nsec;
    }
};

// File times advance in clock ticks of a few milliseconds, so a file changed
// within the tick of an earlier change may keep its times (and, with a reused
// inode, its whole identity). A parse is kept only for a file that had not
// changed for this long before it was read.
constexpr long kSettledNs = 100L * 1000 * 1000;

bool SettledBefore(const timespec& changed, const timespec& readAt)
{
    const long long changedNs = changed.tv_sec * 1000000000LL + changed.tv_nsec;
    const long long readNs = readAt.tv_sec * 1000000000LL + readAt.tv_nsec;
    return changedNs + kSettledNs < readNs;
}

struct CachedHive
{
    FileIdentity identity;
    std::shared_ptr<const kvds::RegistryHive> hive; // null: the file is damaged
};

// Parsed hive files of this process, by root and path.
std::mutex g_cacheMutex;
std::map<std::string, CachedHive> g_cache;

std::shared_ptr<const kvds::RegistryHive> EmptyHive()
{
    static const auto empty = std::make_shared<const kvds::RegistryHive>();
    return empty;
}

// "<hive>.tmp.<pid>.<n>": the pid of the writer, or -1 for another name.
pid_t TemporaryWriter(const std::string& name, const std::string& prefix)
{
    if (name.compare(0, prefix.size(), prefix) != 0)
        return -1;
    const char* p = name.c_str() + prefix.size();
    char* end = nullptr;
    errno = 0;
    const long pid = std::strtol(p, &end, 10);
    if (errno || end == p || *end != '.' || pid <= 0 || pid > INT_MAX)
        return -1;
    p = end + 1;
    if (!*p)
        return -1;
    for (; *p; ++p) {
        if (*p < '0' || *p > '9')
            return -1;
    }
    return pid_t(pid);
}

// Removes the temporary files that writers killed in the middle of a write
// left behind. Called with the hive's lock held, so no live writer of this
// hive has a temporary file: a name of this process's pid belongs to an
// earlier process that had the same pid.
void RemoveLeftovers(const std::string& path)
{
    DIR* dir = opendir(DirName(path).c_str());
    if (!dir)
        return;
    const std::unique_ptr<DIR, int (*)(DIR*)> closer(dir, closedir);
    const std::string prefix = BaseName(path) + ".tmp.";
    while (const dirent* entry = readdir(dir)) {
        const pid_t writer = TemporaryWriter(entry->d_name, prefix);
        if (writer <= 0)
            continue;
        if (writer == getpid() || (kill(writer, 0) != 0 && errno == ESRCH)) {
            if (unlinkat(dirfd(dir), entry->d_name, 0) != 0)
                qWarning("HiveFile  Cannot remove the left-over file %s/%s: %s",
                         DirName(path).c_str(), entry->d_name, strerror(errno));
        }
    }
}

// Creates a new temporary file beside the hive, under a name no other file
// has: a name taken already (a leftover of a writer with a reused pid) is
// skipped.
int CreateTemporary(const std::string& path, mode_t mode, std::string& tmp)
{
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < 1000; ++attempt) {
        tmp =
            path + ".tmp." + std::to_string(getpid()) + "." + std::to_string(counter.fetch_add(1));
        const int fd = open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    errno = EEXIST;
    return -1;
}

} // namespace

HiveFile::HiveFile(Root root) : m_root(root), m_path(DefaultPath(root)) {}

HiveFile::HiveFile(Root root, const std::string& path, const HiveFileOperations& operations)
    : m_root(root), m_path(path), m_ops(operations)
{
}

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

HiveFile::ReadResult HiveFile::Read(const std::string& path, bool useCache,
                                    std::shared_ptr<const RegistryHive>& hive) const
{
    hive = EmptyHive();
    // A parse holds the keys of one root only.
    const std::string cacheKey = (m_root == CurrentUser ? "user:" : "machine:") + path;
    auto fail = [&](const std::string& why) {
        WarnOnce(path, why);
        return ReadResult::Failed;
    };
    // Checked before opening: opening a FIFO would wait for a writer, and a
    // device such as /dev/zero never ends.
    struct stat st;
    if (stat(path.c_str(), &st) != 0) {
        if (errno == ENOENT || errno == ENOTDIR) {
            std::lock_guard<std::mutex> lock(g_cacheMutex);
            g_cache.erase(cacheKey);
            return ReadResult::Missing;
        }
        return fail(std::string("cannot be read: ") + strerror(errno));
    }
    if (!S_ISREG(st.st_mode))
        return fail("not a regular file");
    if (size_t(st.st_size) > MaxFileSize)
        return fail("larger than " + std::to_string(MaxFileSize) + " bytes");
    if (useCache) {
        std::lock_guard<std::mutex> lock(g_cacheMutex);
        const auto it = g_cache.find(cacheKey);
        if (it != g_cache.end() && it->second.identity == FileIdentity(st)) {
            if (!it->second.hive)
                return ReadResult::Failed; // warned when it was read
            hive = it->second.hive;
            return ReadResult::Ok;
        }
    }

    timespec readAt{};
    clock_gettime(CLOCK_REALTIME, &readAt);
    ScopedFd file;
    file.fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (file.fd < 0) {
        if (errno == ENOENT || errno == ENOTDIR)
            return ReadResult::Missing;
        return fail(std::string("cannot be read: ") + strerror(errno));
    }
    // The name may have been pointed elsewhere since it was checked.
    if (fstat(file.fd, &st) != 0 || !S_ISREG(st.st_mode))
        return fail("not a regular file");
    std::string bytes;
    char buffer[65536];
    while (true) {
        const ssize_t n = read(file.fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return fail(std::string("cannot be read: ") + strerror(errno));
        }
        if (n == 0)
            break;
        bytes.append(buffer, size_t(n));
        if (bytes.size() > MaxFileSize)
            return fail("larger than " + std::to_string(MaxFileSize) + " bytes");
    }
    auto parsed = std::make_shared<RegistryHive>();
    std::string error;
    const bool ok = parsed->Parse(bytes, RootName(), &error);
    {
        std::lock_guard<std::mutex> lock(g_cacheMutex);
        if (SettledBefore(st.st_ctim, readAt) && SettledBefore(st.st_mtim, readAt))
            g_cache.insert_or_assign(cacheKey, CachedHive{FileIdentity(st), ok ? parsed : nullptr});
        else
            g_cache.erase(cacheKey);
    }
    if (!ok)
        return fail(error);
    hive = std::move(parsed);
    return ReadResult::Ok;
}

std::shared_ptr<const RegistryHive> HiveFile::Snapshot(bool* usable) const
{
    std::shared_ptr<const RegistryHive> hive;
    const bool ok = Read(m_path, true, hive) != ReadResult::Failed;
    if (usable)
        *usable = ok;
    return hive;
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
    std::string tmp;
    ScopedFd out;
    out.fd = CreateTemporary(path, m_root == CurrentUser ? 0600 : 0644, tmp);
    if (out.fd < 0) {
        qWarning("HiveFile  Cannot create a temporary file beside %s: %s", path.c_str(),
                 strerror(errno));
        return false;
    }
    struct stat st;
    if (stat(path.c_str(), &st) == 0)
        fchmod(out.fd, st.st_mode & 07777);
    const bool written = WriteAll(m_ops, out.fd, bytes) && m_ops.fsync(out.fd) == 0;
    const bool closed = close(out.fd) == 0;
    out.fd = -1;
    if (!written || !closed || m_ops.rename(tmp.c_str(), path.c_str()) != 0) {
        qWarning("HiveFile  Cannot store %s: %s", path.c_str(), strerror(errno));
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
    RemoveLeftovers(path);
    // Never from the cache: a change must apply to what the file holds now.
    std::shared_ptr<const RegistryHive> current;
    if (Read(path, false, current) == ReadResult::Failed)
        return false;
    RegistryHive hive(*current);
    switch (change(hive)) {
    case Change::Fail:
        return false;
    case Change::Unchanged:
        return true;
    case Change::Changed:
        break;
    }
    const std::string bytes = hive.Serialize(RootName());
    // A file this program would refuse to read must not be written either.
    if (bytes.size() > MaxFileSize) {
        qWarning("HiveFile  The change is not stored: %s would grow past %zu bytes", path.c_str(),
                 MaxFileSize);
        return false;
    }
    return !bytes.empty() && WriteAtomically(path, bytes);
}

} // namespace kvds
