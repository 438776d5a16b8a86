// Analyses files as the wizard does when they are added (every file examined for a profile, a
// conversion prepared for those that need one) and prints the seconds of the analysis alone and
// of the whole program to its end, the number of files and how many of them need a conversion.
//   analysis_bench [-workers N] [-profile P] FILE...
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cstdio>

#include "TransferAnalysis.h"
#include "VideoFileTranscoder.h"

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    int workers = 0;
    int profile = 3;
    while (args.size() >= 2 && (args[0] == "-workers" || args[0] == "-profile")) {
        (args[0] == "-workers" ? workers : profile) = args[1].toInt();
        args = args.mid(2);
    }
    if (args.isEmpty()) {
        std::fprintf(stderr, "usage: analysis_bench [-workers N] [-profile P] FILE...\n");
        return 2;
    }
    QElapsedTimer clock;
    clock.start();
    VideoFileTranscoder transcoder;
    if (!transcoder.initEngine()) {
        std::fprintf(stderr, "no transcode engine\n");
        return 1;
    }
    QTemporaryDir out;
    TransferAnalysis analysis(transcoder);
    analysis.setWorkers(workers);
    AnalysisResults results;
    QElapsedTimer analysing;
    analysing.start();
    if (!analysis.start(args, profile, out.path()) || !analysis.wait(kvpm::Event::kInfinite) ||
        !analysis.results(results)) {
        std::fprintf(stderr, "the analysis gave no results\n");
        return 1;
    }
    const double analysisSeconds = double(analysing.nsecsElapsed()) / 1e9;
    int failed = 0;
    for (int code : results.resultCodes)
        failed += code != 0;
    std::printf("analysis %.3f s, program %.3f s, %lld files, %d to convert, %d failed\n",
                analysisSeconds, double(clock.nsecsElapsed()) / 1e9,
                static_cast<long long>(results.sources.size()), transcoder.queueLength(), failed);
    return failed == 0 && results.sources.size() == args.size() ? 0 : 1;
}
