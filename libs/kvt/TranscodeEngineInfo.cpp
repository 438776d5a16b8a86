#include "TranscodeEngineInfo.h"

#include "MediaLibrary.h"
#include "TranscodeEnums.h"

#include <QtGlobal>

#include <vector>

namespace kvt {

namespace {

struct FileType
{
    const char* filterName;
    const char* demuxer; // checked with libavformat
    const char* patterns;
};

// The dialog composes each filter as name + " files (patterns)", so a name is what the files
// are called ("MPEG-4 files"). It takes the map's first entry (in key order) as the list of
// every readable type, so no name may sort before kAllTypesName.
//: the Add dialog's filter of every readable type, shown as "%1 files"
const char kAllTypesName[] = QT_TRANSLATE_NOOP("FileTypes", "All Video");
// clang-format off
const FileType kFileTypes[] = {
    {"Audio Video Interleave", "avi",     "*.avi *.divx *.xvid *.kavo"},
    {"MPEG-4",                "mov",      "*.mp4 *.m4v *.mov *.qt *.3gp *.3g2"},
    {"Matroska",              "matroska", "*.mkv *.webm"},
    {"MPEG",                  "mpeg",     "*.mpg *.mpeg *.mpe *.m1v *.m2v *.vob *.dat"},
    {"MPEG Transport Stream", "mpegts",   "*.ts *.m2ts *.mts *.tp"},
    {"Windows Media",         "asf",      "*.wmv *.asf"},
    {"Flash Video",           "flv",      "*.flv *.f4v"},
    {"DV",                    "dv",       "*.dv *.dif"},
    {"Ogg Video",             "ogg",      "*.ogv *.ogm"},
    {"RealMedia",             "rm",       "*.rm *.rmvb"},
};
// clang-format on

} // namespace

std::map<std::string, std::string> TranscodeEngineInfo::readableFileTypes()
{
    std::map<std::string, std::string> types;
    std::string all;
    for (const FileType& t : kFileTypes) {
        if (!MediaLibrary::hasDemuxer(t.demuxer))
            continue;
        types[t.filterName] = t.patterns;
        all += all.empty() ? t.patterns : std::string(" ") + t.patterns;
    }
    if (!all.empty())
        types[kAllTypesName] = all;
    return types;
}

std::string TranscodeEngineInfo::engineText()
{
    // The window title carries it: short, and no library versions.
    return "Kavo Transcode Engine 1.0";
}

std::string TranscodeEngineInfo::libraryVersions()
{
    return MediaLibrary::libraryVersions();
}

int32_t TranscodeEngineInfo::GetEngineText(std::string& text)
{
    text = engineText();
    return SUCCESS;
}

int32_t TranscodeEngineInfo::GetFileTypes(std::map<std::string, std::string>& fileTypes)
{
    fileTypes = readableFileTypes();
    return SUCCESS;
}

int32_t TranscodeEngineInfo::GetEnginePath(std::u16string& path)
{
    path = m_enginePath;
    return SUCCESS;
}

} // namespace kvt
