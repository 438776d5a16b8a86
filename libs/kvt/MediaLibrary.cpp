#include "MediaLibrary.h"

#include "EngineLog.h"
#include "MediaModule.h"
#include "TranscodeEnums.h"

#include <dlfcn.h>
#include <mutex>

namespace kvt {

namespace {

struct Module
{
    MediaModuleProbe probe = nullptr;
    MediaModuleHasDemuxer hasDemuxer = nullptr;
    MediaModuleVersions versions = nullptr;
    std::string error;
};

const Module& module()
{
    static Module loaded;
    static std::once_flag once;
    std::call_once(once, [] {
        const std::string path = MediaLibrary::modulePath();
        // Never unloaded: FFmpeg keeps global state for the life of the process.
        void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!handle) {
            const char* reason = dlerror();
            loaded.error = "the media module could not be loaded: " +
                           std::string(reason ? reason : path.c_str());
            EngineLog::write(KAVO_ERROR_MSG, loaded.error);
            return;
        }
        loaded.probe = reinterpret_cast<MediaModuleProbe>(dlsym(handle, "portavoMediaProbe"));
        loaded.hasDemuxer =
            reinterpret_cast<MediaModuleHasDemuxer>(dlsym(handle, "portavoMediaHasDemuxer"));
        loaded.versions =
            reinterpret_cast<MediaModuleVersions>(dlsym(handle, "portavoMediaVersions"));
        if (!loaded.probe || !loaded.hasDemuxer || !loaded.versions) {
            loaded = Module();
            loaded.error = "the media module " + path + " lacks its entry points";
            EngineLog::write(KAVO_ERROR_MSG, loaded.error);
            return;
        }
        std::string versions;
        loaded.versions(&versions);
        EngineLog::write(KAVO_INFO_MSG, "media module " + path + " (" + versions + ")");
    });
    return loaded;
}

} // namespace

std::string MediaLibrary::modulePath()
{
    Dl_info info{};
    std::string dir = ".";
    if (dladdr(reinterpret_cast<void*>(&MediaLibrary::modulePath), &info) && info.dli_fname) {
        const std::string file = info.dli_fname;
        const size_t slash = file.rfind('/');
        if (slash != std::string::npos)
            dir = file.substr(0, slash);
    }
    return dir + "/libportavomedia.so";
}

bool MediaLibrary::load(std::string* error)
{
    const Module& m = module();
    if (error)
        *error = m.error;
    return m.probe != nullptr;
}

int32_t MediaLibrary::probe(const std::u16string& path, MediaInfo& info,
                            const std::atomic<bool>* cancel, std::chrono::milliseconds timeLimit)
{
    const Module& m = module();
    if (!m.probe) {
        info = MediaInfo();
        info.resultCode = ENG_RES_NOTFOUND_ERR;
        info.details = m.error;
        return info.resultCode;
    }
    return m.probe(&path, &info, cancel, static_cast<long long>(timeLimit.count()));
}

bool MediaLibrary::hasDemuxer(const char* name)
{
    const Module& m = module();
    return !m.hasDemuxer || m.hasDemuxer(name);
}

std::string MediaLibrary::libraryVersions()
{
    const Module& m = module();
    if (!m.versions)
        return m.error;
    std::string text;
    m.versions(&text);
    return text;
}

} // namespace kvt
