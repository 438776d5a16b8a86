#pragma once

#include "TranscodeEnums.h"

#include <string>

namespace kvt::worker {

// The step an FFmpeg error happened in; the same AVERROR means different
// things while opening the source and while writing the output.
enum class Phase
{
    OpenInput,
    ReadInput,
    Decode,
    Filter,
    Encode,
    OpenOutput,
    WriteOutput
};

// A failure with the engine code to report and a reason a person can read.
class WorkerError
{
public:
    WorkerError() = default;
    WorkerError(int code, std::string message) : m_code(code), m_message(std::move(message)) {}

    // Maps an AVERROR of the given phase to an engine code; the one place
    // where FFmpeg's errors become the engine's.
    static WorkerError fromAv(int averror, Phase phase, const std::string& what);
    static int engineCodeFor(int averror, Phase phase);

    bool isError() const { return m_code != kvt::SUCCESS; }
    int code() const { return m_code; }
    const std::string& message() const { return m_message; }

    // The process exit status for this result.
    int exitStatus() const { return m_code & 0xff; }

private:
    int m_code = kvt::SUCCESS;
    std::string m_message;
};

// Text of an AVERROR (av_err2str is a C compound literal, not valid C++).
std::string err2str(int averror);

} // namespace kvt::worker
