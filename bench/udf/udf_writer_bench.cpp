// Writes the same files as a UDF bridge image with our writer (through libburn to a stdio:
// drive, as the storage library does) and as an ISO image with `xorriso -as mkisofs -o`, each
// in a child process so wall time and peak memory (maxrss) are the child's own. Prints the
// throughput ratio (goal >= 1.0) and both peaks (goal: ours flat, under 100 MB).
// Our writer runs twice: its source handed to the track directly, and behind a libburn fifo of
// 4 MB, whose worker sleeps whenever the ring is full; against a consumer as fast as a file that
// caps the rate at about the ring size per 50 ms.
//
// usage: udf_writer_bench [folder for sources and images] [files=3] [MB per file=700] [runs=2]
// The sources are generated once (non-sparse, incompressible) and kept for the next run.

#include "UdfBridgeImage.h"

#include <libburn/libburn.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

using namespace burn;

namespace {

struct Measure
{
    bool ok = false;
    double seconds = 0;
    long maxRssKb = 0;
};

std::vector<std::string> makeSources(const std::string& folder, int count, long megabytes)
{
    std::vector<std::string> paths;
    std::vector<uint64_t> block(1 << 17); // 1 MiB
    uint64_t x = 0x9e3779b97f4a7c15ull;
    for (int i = 0; i < count; ++i) {
        const std::string path = folder + "/film " + std::to_string(i + 1) + ".bin";
        paths.push_back(path);
        struct stat st
        {
        };
        if (::stat(path.c_str(), &st) == 0 && st.st_size == megabytes * 1000000)
            continue;
        std::printf("Making %s (%ld MB)...\n", path.c_str(), megabytes);
        FILE* f = std::fopen(path.c_str(), "wb");
        if (!f)
            std::exit(2);
        for (long written = 0; written < megabytes * 1000000;) {
            for (uint64_t& w : block) {
                x ^= x << 13;
                x ^= x >> 7;
                x ^= x << 17;
                w = x;
            }
            const long n = std::min<long>(long(block.size() * 8), megabytes * 1000000 - written);
            std::fwrite(block.data(), 1, size_t(n), f);
            written += n;
        }
        std::fclose(f);
    }
    return paths;
}

// The child: our writer, through a libburn fifo to a stdio: drive.
int writeUdf(int fifoMegabytes, const std::string& image, const std::vector<std::string>& paths)
{
    std::vector<udf::SourceFile> sources;
    for (const std::string& p : paths) {
        const std::string name = p.substr(p.rfind('/') + 1);
        sources.push_back({p, std::u16string(name.begin(), name.end())});
    }
    udf::Failure failure;
    auto plan = udf::BridgeImage::plan(sources, {"KavoTransferWizard", 0}, &failure);
    if (!plan) {
        std::fprintf(stderr, "plan: %s\n", failure.message.c_str());
        return 1;
    }
    if (!burn_initialize())
        return 1;
    char never[] = "NEVER", sorry[] = "SORRY", prefix[] = "bench: ";
    burn_msgs_set_severities(never, sorry, prefix);
    struct burn_drive_info* info = nullptr;
    if (burn_drive_scan_and_grab(&info, const_cast<char*>(("stdio:" + image).c_str()), 0) != 1)
        return 1;
    struct burn_drive* drive = info[0].drive;
    struct burn_source* source = plan->makeBurnSource();
    // bit 0: our source delivers any amount a read.
    struct burn_source* fifo =
        fifoMegabytes > 0 ? burn_fifo_source_new(source, 2048, fifoMegabytes * 512, 1) : nullptr;
    struct burn_disc* disc = burn_disc_create();
    struct burn_session* session = burn_session_create();
    struct burn_track* track = burn_track_create();
    burn_disc_add_session(disc, session, BURN_POS_END);
    burn_track_define_data(track, 0, 0, 1, BURN_MODE1);
    burn_track_set_source(track, fifo ? fifo : source);
    burn_session_add_track(session, track, BURN_POS_END);
    struct burn_write_opts* opts = burn_write_opts_new(drive);
    burn_write_opts_set_perform_opc(opts, 0);
    burn_write_opts_set_write_type(opts, BURN_WRITE_SAO, BURN_BLOCK_SAO);
    burn_write_opts_set_multi(opts, 0);
    burn_disc_write(opts, disc);
    struct burn_progress progress;
    while (burn_drive_get_status(drive, &progress) != BURN_DRIVE_IDLE)
        usleep(100000);
    const bool ok = burn_drive_wrote_well(drive) && plan->failure().status == 0 &&
                    plan->sectorsDone() == plan->totalSectors();
    burn_write_opts_free(opts);
    if (fifo)
        burn_source_free(fifo);
    burn_source_free(source);
    burn_track_free(track);
    burn_session_free(session);
    burn_disc_free(disc);
    burn_drive_release(drive, 0);
    burn_drive_info_free(info);
    burn_finish();
    if (!ok)
        std::fprintf(stderr, "write failed: %s\n", plan->failure().message.c_str());
    return ok ? 0 : 1;
}

Measure runChild(const std::vector<std::string>& argv)
{
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        std::vector<char*> args;
        for (const std::string& a : argv)
            args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        execvp(args[0], args.data());
        _exit(127);
    }
    int status = 0;
    struct rusage usage
    {
    };
    wait4(pid, &status, 0, &usage);
    Measure m;
    m.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    m.maxRssKb = usage.ru_maxrss;
    m.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return m;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc >= 4 && std::strcmp(argv[1], "--write-udf") == 0)
        return writeUdf(std::atoi(argv[2]), argv[3],
                        std::vector<std::string>(argv + 4, argv + argc));
    std::setvbuf(stdout, nullptr, _IOLBF, 0);

    const char* tmp = std::getenv("TMPDIR");
    const std::string folder =
        argc > 1 ? argv[1] : std::string(tmp ? tmp : "/tmp") + "/portavo-bench-udf";
    const int count = argc > 2 ? std::atoi(argv[2]) : 3;
    const long megabytes = argc > 3 ? std::atol(argv[3]) : 700;
    const int runs = argc > 4 ? std::atoi(argv[4]) : 2;
    ::mkdir(folder.c_str(), 0755);
    const std::string sources = folder + "/sources";
    ::mkdir(sources.c_str(), 0755);
    const std::vector<std::string> paths = makeSources(sources, count, megabytes);
    const std::string ours = folder + "/udf.iso";
    const std::string theirs = folder + "/xorriso.iso";
    const std::string self = realpath("/proc/self/exe", nullptr);

    struct Contender
    {
        const char* name;
        std::vector<std::string> argv;
        Measure best;
    };
    auto oursWith = [&](const char* fifoMegabytes) {
        std::vector<std::string> argv{self, "--write-udf", fifoMegabytes, ours};
        argv.insert(argv.end(), paths.begin(), paths.end());
        return argv;
    };
    Contender contenders[] = {
        {"xorriso -as mkisofs",
         {"xorriso", "-as", "mkisofs", "-quiet", "-iso-level", "3", "-J", "-V",
          "KavoTransferWizard", "-o", theirs, sources},
         {}},
        {"UDF bridge, direct", oursWith("0"), {}},
        {"UDF bridge, 4 MB fifo", oursWith("4"), {}},
    };

    // Best of `runs` each, taking turns, with the sources already in the page cache for all.
    for (int r = 0; r < runs; ++r) {
        for (Contender& c : contenders) {
            ::unlink(ours.c_str());
            ::unlink(theirs.c_str());
            const Measure m = runChild(c.argv);
            if (!m.ok) {
                std::fprintf(stderr, "%s failed\n", c.name);
                return 1;
            }
            std::printf("run %d  %-22s %6.2f s  maxrss %6.1f MB\n", r + 1, c.name, m.seconds,
                        m.maxRssKb / 1024.0);
            if (c.best.seconds == 0 || m.seconds < c.best.seconds)
                c.best.seconds = m.seconds;
            c.best.maxRssKb = std::max(c.best.maxRssKb, m.maxRssKb);
        }
    }
    struct stat st = {};
    ::stat(ours.c_str(), &st);
    const double mb = double(st.st_size) / 1e6;
    std::printf("\nimage %.0f MB of %d files, best of %d\n", mb, count, runs);
    for (const Contender& c : contenders)
        std::printf("%-22s %6.2f s  %7.1f MB/s  peak %6.1f MB  ratio to xorriso %.2f\n", c.name,
                    c.best.seconds, mb / c.best.seconds, c.best.maxRssKb / 1024.0,
                    contenders[0].best.seconds / c.best.seconds);
    std::printf("goals: ratio >= 1.0, our peak flat and under 100 MB\n");
    ::unlink(ours.c_str());
    ::unlink(theirs.c_str());
    return 0;
}
