// A pass-through file system that writes no faster than a given rate, for measuring a transfer
// to a slow USB stick on a machine without one. Every write is passed to the backing folder and
// then held until the device's time for those bytes has come: one queue for the whole mount,
// as a stick has one bus. Reads, names and metadata pass through unthrottled.
//
// usage: throttlefs <backing folder> <bytes per second> <mount point> [fuse options]
#define FUSE_USE_VERSION 31
#define _GNU_SOURCE

#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <fuse3/fuse.h>
#include <limits.h>
#include <pthread.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/syscall.h>
#include <time.h>
#include <unistd.h>

static char g_backing[PATH_MAX];
static double g_rate;
static pthread_mutex_t g_lock = PTHREAD_MUTEX_INITIALIZER;
// When the device is free again, in seconds of CLOCK_MONOTONIC.
static double g_free_at;

static double now(void)
{
    struct timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return (double)ts.tv_sec + (double)ts.tv_nsec / 1e9;
}

static void throttle(size_t bytes)
{
    pthread_mutex_lock(&g_lock);
    // A device idle for a moment starts afresh; a late wake-up of ours (a busy machine) is not
    // held against the device's rate.
    const double t = now();
    const double start = t - g_free_at > 0.1 ? t : g_free_at;
    g_free_at = start + (double)bytes / g_rate;
    const double until = g_free_at;
    pthread_mutex_unlock(&g_lock);
    const double wait = until - now();
    if (wait > 0) {
        struct timespec ts = {(time_t)wait, (long)((wait - (double)(time_t)wait) * 1e9)};
        while (nanosleep(&ts, &ts) != 0 && errno == EINTR) {
        }
    }
}

static void full(char* out, const char* path)
{
    snprintf(out, PATH_MAX, "%s%s", g_backing, path);
}

#define FULL(name, path)                                                                           \
    char name[PATH_MAX];                                                                           \
    full(name, path)

static int tfs_getattr(const char* path, struct stat* st, struct fuse_file_info* fi)
{
    if (fi)
        return fstat((int)fi->fh, st) == 0 ? 0 : -errno;
    FULL(p, path);
    return lstat(p, st) == 0 ? 0 : -errno;
}

static int tfs_readdir(const char* path, void* buf, fuse_fill_dir_t fill, off_t offset,
                       struct fuse_file_info* fi, enum fuse_readdir_flags flags)
{
    (void)offset;
    (void)fi;
    (void)flags;
    FULL(p, path);
    DIR* dir = opendir(p);
    if (!dir)
        return -errno;
    for (struct dirent* e; (e = readdir(dir));) {
        struct stat st = {0};
        st.st_ino = e->d_ino;
        st.st_mode = (mode_t)e->d_type << 12;
        if (fill(buf, e->d_name, &st, 0, 0))
            break;
    }
    closedir(dir);
    return 0;
}

static int tfs_open(const char* path, struct fuse_file_info* fi)
{
    FULL(p, path);
    const int fd = open(p, fi->flags);
    if (fd < 0)
        return -errno;
    fi->fh = (uint64_t)fd;
    return 0;
}

static int tfs_create(const char* path, mode_t mode, struct fuse_file_info* fi)
{
    FULL(p, path);
    const int fd = open(p, fi->flags, mode);
    if (fd < 0)
        return -errno;
    fi->fh = (uint64_t)fd;
    return 0;
}

static int tfs_read(const char* path, char* buf, size_t size, off_t off, struct fuse_file_info* fi)
{
    (void)path;
    const ssize_t n = pread((int)fi->fh, buf, size, off);
    return n < 0 ? -errno : (int)n;
}

static int tfs_write(const char* path, const char* buf, size_t size, off_t off,
                     struct fuse_file_info* fi)
{
    (void)path;
    const ssize_t n = pwrite((int)fi->fh, buf, size, off);
    if (n < 0)
        return -errno;
    throttle((size_t)n);
    return (int)n;
}

static int tfs_release(const char* path, struct fuse_file_info* fi)
{
    (void)path;
    close((int)fi->fh);
    return 0;
}

static int tfs_fsync(const char* path, int datasync, struct fuse_file_info* fi)
{
    (void)path;
    const int rc = datasync ? fdatasync((int)fi->fh) : fsync((int)fi->fh);
    return rc == 0 ? 0 : -errno;
}

static int tfs_truncate(const char* path, off_t size, struct fuse_file_info* fi)
{
    if (fi)
        return ftruncate((int)fi->fh, size) == 0 ? 0 : -errno;
    FULL(p, path);
    return truncate(p, size) == 0 ? 0 : -errno;
}

static int tfs_rename(const char* from, const char* to, unsigned int flags)
{
    FULL(a, from);
    FULL(b, to);
    return syscall(SYS_renameat2, AT_FDCWD, a, AT_FDCWD, b, flags) == 0 ? 0 : -errno;
}

static int tfs_unlink(const char* path)
{
    FULL(p, path);
    return unlink(p) == 0 ? 0 : -errno;
}

static int tfs_mkdir(const char* path, mode_t mode)
{
    FULL(p, path);
    return mkdir(p, mode) == 0 ? 0 : -errno;
}

static int tfs_rmdir(const char* path)
{
    FULL(p, path);
    return rmdir(p) == 0 ? 0 : -errno;
}

static int tfs_statfs(const char* path, struct statvfs* st)
{
    FULL(p, path);
    return statvfs(p, st) == 0 ? 0 : -errno;
}

static int tfs_chmod(const char* path, mode_t mode, struct fuse_file_info* fi)
{
    (void)fi;
    FULL(p, path);
    return chmod(p, mode) == 0 ? 0 : -errno;
}

static int tfs_chown(const char* path, uid_t uid, gid_t gid, struct fuse_file_info* fi)
{
    (void)fi;
    FULL(p, path);
    return lchown(p, uid, gid) == 0 ? 0 : -errno;
}

static int tfs_utimens(const char* path, const struct timespec tv[2], struct fuse_file_info* fi)
{
    (void)fi;
    FULL(p, path);
    return utimensat(AT_FDCWD, p, tv, AT_SYMLINK_NOFOLLOW) == 0 ? 0 : -errno;
}

static int tfs_access(const char* path, int mask)
{
    FULL(p, path);
    return access(p, mask) == 0 ? 0 : -errno;
}

static const struct fuse_operations operations = {
    .getattr = tfs_getattr,
    .readdir = tfs_readdir,
    .open = tfs_open,
    .create = tfs_create,
    .read = tfs_read,
    .write = tfs_write,
    .release = tfs_release,
    .fsync = tfs_fsync,
    .truncate = tfs_truncate,
    .rename = tfs_rename,
    .unlink = tfs_unlink,
    .mkdir = tfs_mkdir,
    .rmdir = tfs_rmdir,
    .statfs = tfs_statfs,
    .chmod = tfs_chmod,
    .chown = tfs_chown,
    .utimens = tfs_utimens,
    .access = tfs_access,
};

int main(int argc, char** argv)
{
    if (argc < 4) {
        fprintf(stderr,
                "usage: %s <backing folder> <bytes per second> <mount point> [fuse "
                "options]\n",
                argv[0]);
        return 2;
    }
    if (!realpath(argv[1], g_backing)) {
        perror(argv[1]);
        return 2;
    }
    g_rate = atof(argv[2]);
    if (g_rate <= 0) {
        fprintf(stderr, "%s: the rate must be above 0\n", argv[0]);
        return 2;
    }
    // fuse_main sees the program name, the mount point and the options.
    argv[2] = argv[0];
    return fuse_main(argc - 2, argv + 2, &operations, NULL);
}
