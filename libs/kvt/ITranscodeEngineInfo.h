#pragma once

#include "IRefCounted.h"

#include <cstdint>
#include <map>
#include <string>

namespace kvt {

// Facts about the ready engine.
class ITranscodeEngineInfo : public kvtl::IRefCounted
{
public:
    // Name and version line of the engine and the libraries it uses.
    virtual int32_t GetEngineText(std::string& text) = 0;
    // File-type filter name -> space-separated patterns ("*.avi *.divx").
    virtual int32_t GetFileTypes(std::map<std::string, std::string>& fileTypes) = 0;

    // Full path of the KavoEngine worker executable.
    virtual int32_t GetEnginePath(std::u16string& path) = 0;
};

} // namespace kvt
