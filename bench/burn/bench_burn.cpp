// Writes the same files to a DVD image burner (UDF bridge) or a CD-R one (ISO 9660 through
// libisofs) with the storage library and with `xorriso -as mkisofs`, taking turns for a number
// of rounds, and prints each round and the medians: write (against xorriso's) and verify apart,
// with the machine's load.
//
// bench_burn_run [work folder] [megabytes per file=700] [file count=3] [rounds=5] [dvd+r|cd-r]
#include "LDStorage.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <random>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double seconds(Clock::time_point a, Clock::time_point b)
{
    return std::chrono::duration<double>(b - a).count();
}

// Real data, not sparse: a random 8 MiB block written again and again with a changing word.
bool makeFile(const std::string& path, long long megabytes, unsigned seed)
{
    std::vector<uint32_t> block(2 << 20);
    std::mt19937 gen(seed);
    for (uint32_t& w : block)
        w = gen();
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0)
        return false;
    for (long long i = 0; i < megabytes / 8; ++i) {
        block[0] = uint32_t(i);
        if (::write(fd, block.data(), block.size() * 4) != ssize_t(block.size() * 4)) {
            ::close(fd);
            return false;
        }
    }
    return ::close(fd) == 0;
}

struct Timing
{
    double write = 0;
    double verify = 0;
    int32_t status = -1;
    uint32_t fileSystems = 0;
};

struct Marks
{
    Clock::time_point start, verifyStart;
    bool verifying = false;
};

int32_t onProgress(const int32_t* kind, int32_t, LD_ProgressRecord* record, void* context)
{
    auto* m = static_cast<Marks*>(context);
    if (*kind == LD_ReportProgress && record->phase == LD_PhaseVerify && !m->verifying) {
        m->verifying = true;
        m->verifyStart = Clock::now();
    }
    return 0;
}

bool onCd = false;

Timing burnOurs(const std::string& image, const std::vector<std::string>& files)
{
    Timing t;
    ::unlink(image.c_str());
    LD_SetScanOpticalDrives(0);
    LD_SetImageBurners(((onCd ? "cd-r:" : "dvd+r:") + image).c_str());
    uint32_t count = 0;
    LD_DeviceRecord device = {};
    if (LD_GetStorageDeviceCount(LD_ClassRecorders, &count) != LD_OK || count != 1 ||
        LD_OpenStorageDevice(1, &device, 0, 0, 0) != LD_OK)
        return t;
    Marks marks;
    marks.start = Clock::now();
    LD_VolumeHandle volume = 0;
    uint32_t found = 0;
    t.status = LD_StorageDevice_OpenVolume(&device, &found, onProgress, &marks, &volume);
    const char label[] = "KavoTransferWizard";
    LD_Text name{LD_Text8, sizeof label, label};
    if (t.status == LD_OK)
        t.status = LD_Volume_Create(&volume, onCd ? LD_FsIsoLevel2Long : LD_FsUdf15, &name, 2,
                                    onProgress, &marks);
    for (const std::string& f : files) {
        if (t.status != LD_OK)
            break;
        const std::string base = f.substr(f.find_last_of('/') + 1);
        LD_Text n{LD_Text8, uint32_t(base.size() + 1), base.c_str()};
        LD_Text p{LD_Text8, uint32_t(f.size() + 1), f.c_str()};
        t.status = LD_Volume_CreateEntryFromHD(&volume, &n, &p, 3);
    }
    if (t.status == LD_OK)
        t.status = LD_Volume_Flush(&volume, onProgress, &marks, 1, 0);
    const auto end = Clock::now();
    LD_Volume_Close(&volume);
    // What went on the disc: the file systems the written image carries.
    if (t.status == LD_OK &&
        LD_StorageDevice_OpenVolume(&device, &t.fileSystems, nullptr, nullptr, &volume) == LD_OK)
        LD_Volume_Close(&volume);
    LD_StorageDevice_Close(&device);
    t.write = seconds(marks.start, marks.verifying ? marks.verifyStart : end);
    t.verify = marks.verifying ? seconds(marks.verifyStart, end) : 0;
    return t;
}

Timing burnXorriso(const std::string& image, const std::string& folder)
{
    Timing t;
    ::unlink(image.c_str());
    const auto start = Clock::now();
    const pid_t pid = ::fork();
    if (pid == 0) {
        const int null = ::open("/dev/null", O_WRONLY);
        ::dup2(null, 1);
        ::dup2(null, 2);
        // Synced at the end as our library does (its mkisofs mode does not sync by default).
        ::execlp("xorriso", "xorriso", "-stdio_sync", "end", "-as", "mkisofs", "-iso-level",
                 onCd ? "2" : "3", "-J", "-R", "-V", "KavoTransferWizard", "-o", image.c_str(),
                 folder.c_str(), nullptr);
        ::_exit(127);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    t.write = seconds(start, Clock::now());
    t.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return t;
}

long maxRssMb(int who)
{
    rusage usage = {};
    ::getrusage(who, &usage);
    return usage.ru_maxrss / 1024;
}

std::string load()
{
    char text[64] = {};
    FILE* f = std::fopen("/proc/loadavg", "r");
    if (f) {
        if (!std::fgets(text, sizeof text, f))
            text[0] = 0;
        std::fclose(f);
    }
    std::string s(text);
    // The three averages only.
    for (int spaces = 0, i = 0; i < int(s.size()); ++i)
        if (s[i] == ' ' && ++spaces == 3)
            return s.substr(0, size_t(i));
    return s;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n == 0 ? 0 : n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

} // namespace

int main(int argc, char** argv)
{
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    const char* tmp = std::getenv("TMPDIR");
    const std::string work =
        argc > 1 ? argv[1] : std::string(tmp ? tmp : "/tmp") + "/portavo-bench-burn";
    const long long megabytes = argc > 2 ? std::atoll(argv[2]) : 700;
    const int count = argc > 3 ? std::atoi(argv[3]) : 3;
    const int rounds = argc > 4 ? std::atoi(argv[4]) : 5;
    onCd = argc > 5 && std::strcmp(argv[5], "cd-r") == 0;
    const std::string folder = work + "/files";
    std::system(("mkdir -p '" + folder + "'").c_str());
    // Sources and images are gigabytes: never leave them behind, whatever happens.
    struct Cleanup
    {
        std::string path;
        ~Cleanup() { std::system(("rm -rf '" + path + "'").c_str()); }
    } cleanup{work};
    std::vector<std::string> files;
    for (int i = 0; i < count; ++i) {
        files.push_back(folder + "/video " + std::to_string(i + 1) + ".mpg");
        if (!makeFile(files.back(), megabytes, unsigned(i + 1))) {
            std::fprintf(stderr, "cannot write %s\n", files.back().c_str());
            return 1;
        }
    }
    const double totalMb = double(megabytes) * count;
    std::printf("%d files, %.0f MB in all, %s image burner; xorriso: ISO 9660 level %d + Joliet "
                "+ Rock Ridge; both sync the image once, at the end\n",
                count, totalMb, onCd ? "CD-R" : "DVD+R", onCd ? 2 : 3);
    std::printf("load average at the start: %s\n", load().c_str());

    // The order alternates, so that neither side profits alone from the other's writeback;
    // each image is removed as soon as it is timed, as a user's disk would not hold both.
    std::vector<double> theirs, ourWrite, ourVerify;
    for (int round = 0; round < rounds; ++round) {
        Timing x, o;
        for (int turn = 0; turn < 2; ++turn) {
            if ((turn == 0) == (round % 2 == 0)) {
                x = burnXorriso(work + "/xorriso.iso", folder);
                ::unlink((work + "/xorriso.iso").c_str());
            } else {
                o = burnOurs(work + "/ours.iso", files);
                ::unlink((work + "/ours.iso").c_str());
            }
        }
        if (x.status != 0 || o.status != LD_OK) {
            std::fprintf(stderr, "round %d failed: xorriso %d, ours %d\n", round + 1, x.status,
                         o.status);
            return 1;
        }
        std::printf("round %d (%s first): xorriso %.2f s, ours %.2f s write + %.2f s verify (%s); "
                    "ratio %.2f; load %s\n",
                    round + 1, round % 2 == 0 ? "xorriso" : "ours", x.write, o.write, o.verify,
                    (o.fileSystems & LD_FsUdf15) ? "UDF 1.50 bridge" : "ISO 9660 + Joliet",
                    x.write / o.write, load().c_str());
        theirs.push_back(x.write);
        ourWrite.push_back(o.write);
        ourVerify.push_back(o.verify);
    }
    const double mx = median(theirs), mw = median(ourWrite), mv = median(ourVerify);
    std::printf("median of %d rounds: xorriso %.2f s (%.0f MB/s), ours %.2f s write (%.0f MB/s) + "
                "%.2f s verify (%.0f MB/s)\n",
                rounds, mx, totalMb / mx, mw, totalMb / mw, mv, totalMb / mv);
    std::printf("write: xorriso / ours %.2f (goal >= 1.2)\n", mx / mw);
    std::printf("verify / write %.2f (goal <= 0.5)\n", mv / mw);
    std::printf("peak memory: ours %ld MB (whole bench process), xorriso %ld MB (goal < 100)\n",
                maxRssMb(RUSAGE_SELF), maxRssMb(RUSAGE_CHILDREN));
    std::printf("load average at the end: %s\n", load().c_str());
    return 0;
}
