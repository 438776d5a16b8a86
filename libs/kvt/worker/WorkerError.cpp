#include "WorkerError.h"

#include "LocalInput.h"

extern "C" {
#include <libavutil/error.h>
}

#include <cerrno>

namespace kvt::worker {

std::string err2str(int averror)
{
    return LocalInput::errorText(averror);
}

int WorkerError::engineCodeFor(int averror, Phase phase)
{
    if (averror == AVERROR_EXIT)
        return Aborted;
    if (averror == AVERROR(EACCES) || averror == AVERROR(EPERM))
        return CRTL_FILE_PERMISSION_DENIED;

    switch (phase) {
    case Phase::OpenInput:
        if (averror == AVERROR(ENOENT))
            return CRTL_FILE_DOES_NOT_EXIST;
        if (averror == AVERROR(EIO))
            return ENG_INVALID_STREAM;
        return ENG_UNSUPPORTED_FILE_TYPE;
    case Phase::ReadInput:
        return ENG_INVALID_STREAM;
    case Phase::Decode:
        return ENG_DECODER;
    case Phase::Filter:
        return ENG_ERR;
    case Phase::Encode:
        return ENG_NO_ENCODER_VID;
    case Phase::OpenOutput:
    case Phase::WriteOutput:
        // A full disk, a quota or a file-size limit all mean the same to the
        // user: the output could not be written.
        return ENG_WRITING_ERROR;
    }
    return ENG_ERR;
}

WorkerError WorkerError::fromAv(int averror, Phase phase, const std::string& what)
{
    return WorkerError(engineCodeFor(averror, phase), what + ": " + err2str(averror));
}

} // namespace kvt::worker
