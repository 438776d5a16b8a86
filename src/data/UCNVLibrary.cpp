#include "UCNVLibrary.h"

#include "MemoryBuffer.h"

#include <cctype>
#include <dlfcn.h>
#include <memory>

namespace kvds {

namespace {

// Releases of ICU whose common library may be installed; newest first.
constexpr int kNewestIcu = 99;
constexpr int kOldestIcu = 40;

// The major version in a name such as "libicuuc.so.72" (0 when absent).
int VersionFromName(const std::string& name)
{
    const auto dot = name.rfind(".so.");
    if (dot == std::string::npos)
        return 0;
    int v = 0;
    for (size_t i = dot + 4; i < name.size() && std::isdigit(static_cast<unsigned char>(name[i]));
         ++i)
        v = v * 10 + (name[i] - '0');
    return v;
}

struct ConverterCloser
{
    UCNVLibrary* lib;
    void operator()(UcnvConverter* c) const { lib->Close(c); }
};
using ConverterPtr = std::unique_ptr<UcnvConverter, ConverterCloser>;

void SetStatus(UcnvErrorCode* status, UcnvErrorCode value)
{
    if (status)
        *status = value;
}

// Converts all of `input` in one call with a converter opened for `charset`. Four output
// units per input unit cover every ICU charset; the last unit stays free for the zero.
template <class In, class Out, class Convert>
bool ConvertWhole(UCNVLibrary& lib, const std::string& charset, const In& input, Out& out,
                  UcnvErrorCode* status, Convert convert)
{
    using OutChar = typename Out::value_type;
    UcnvErrorCode err = kUcnvZeroError;
    ConverterPtr conv(lib.Open(charset.c_str(), &err), ConverterCloser{&lib});
    if (err > kUcnvZeroError || !conv) {
        SetStatus(status, err > kUcnvZeroError ? err : kUcnvInternalProgramError);
        return false;
    }
    kvtl::MemoryBuffer<OutChar> buffer;
    if (!buffer.Resize(input.size() * 4 + 1, true)) {
        SetStatus(status, kUcnvBufferOverflowError);
        return false;
    }
    OutChar* target = buffer.Data();
    const typename In::value_type* source = input.data();
    convert(conv.get(), &target, buffer.Data() + buffer.Count() - 1, &source,
            input.data() + input.size(), &err);
    SetStatus(status, err);
    if (err > kUcnvZeroError)
        return false;
    *target = 0;
    out.assign(buffer.Data(), size_t(target - buffer.Data()));
    return true;
}

} // namespace

UCNVLibrary::UCNVLibrary()
{
    for (int v = kNewestIcu; v >= kOldestIcu; --v) {
        if (Load("libicuuc.so." + std::to_string(v), v))
            return;
    }
    Load("libicuuc.so", 0);
}

UCNVLibrary::UCNVLibrary(const std::string& libraryName)
{
    Load(libraryName, VersionFromName(libraryName));
}

UCNVLibrary::~UCNVLibrary()
{
    Unload();
}

UCNVLibrary& UCNVLibrary::Instance()
{
    static UCNVLibrary instance;
    return instance;
}

bool UCNVLibrary::Load(const std::string& libraryName, int versionHint)
{
    void* module = dlopen(libraryName.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!module)
        return false;
    // ICU renames its symbols with the major version ("ucnv_open_72"); a
    // build without renaming exports the plain names.
    auto bind = [&](int version) {
        const std::string suffix = version ? "_" + std::to_string(version) : std::string();
        m_open = reinterpret_cast<OpenFn>(dlsym(module, ("ucnv_open" + suffix).c_str()));
        m_close = reinterpret_cast<CloseFn>(dlsym(module, ("ucnv_close" + suffix).c_str()));
        m_toUnicode =
            reinterpret_cast<ToUnicodeFn>(dlsym(module, ("ucnv_toUnicode" + suffix).c_str()));
        m_fromUnicode =
            reinterpret_cast<FromUnicodeFn>(dlsym(module, ("ucnv_fromUnicode" + suffix).c_str()));
        return m_open && m_close && m_toUnicode && m_fromUnicode;
    };
    bool found = versionHint && bind(versionHint);
    int version = versionHint;
    if (!found) {
        version = 0;
        found = bind(0);
    }
    for (int v = kNewestIcu; !found && v >= kOldestIcu; --v) {
        if (v != versionHint && bind(v)) {
            found = true;
            version = v;
        }
    }
    // A library without all four functions is unusable: keep the pointers
    // that were found null-consistent by unloading it.
    if (!found) {
        m_open = nullptr;
        m_close = nullptr;
        m_toUnicode = nullptr;
        m_fromUnicode = nullptr;
        dlclose(module);
        return false;
    }
    m_module = module;
    m_version = version;
    return true;
}

void UCNVLibrary::Unload()
{
    m_open = nullptr;
    m_close = nullptr;
    m_toUnicode = nullptr;
    m_fromUnicode = nullptr;
    if (m_module)
        dlclose(m_module);
    m_module = nullptr;
    m_version = 0;
}

bool UCNVLibrary::IsLoaded() const
{
    return m_module && m_open && m_close && m_toUnicode && m_fromUnicode;
}

UcnvConverter* UCNVLibrary::Open(const char* converterName, UcnvErrorCode* status)
{
    if (!IsLoaded()) {
        SetStatus(status, kUcnvInternalProgramError);
        return nullptr;
    }
    return m_open(converterName, status);
}

void UCNVLibrary::Close(UcnvConverter* converter)
{
    if (IsLoaded() && converter)
        m_close(converter);
}

void UCNVLibrary::ToUnicode(UcnvConverter* converter, char16_t** target,
                            const char16_t* targetLimit, const char** source,
                            const char* sourceLimit, int32_t* offsets, bool flush,
                            UcnvErrorCode* status)
{
    if (!IsLoaded()) {
        SetStatus(status, kUcnvInternalProgramError);
        return;
    }
    m_toUnicode(converter, target, targetLimit, source, sourceLimit, offsets, flush ? 1 : 0,
                status);
}

void UCNVLibrary::FromUnicode(UcnvConverter* converter, char** target, const char* targetLimit,
                              const char16_t** source, const char16_t* sourceLimit,
                              int32_t* offsets, bool flush, UcnvErrorCode* status)
{
    if (!IsLoaded()) {
        SetStatus(status, kUcnvInternalProgramError);
        return;
    }
    m_fromUnicode(converter, target, targetLimit, source, sourceLimit, offsets, flush ? 1 : 0,
                  status);
}

bool UCNVLibrary::ToWide(const std::string& charset, const std::string& bytes, std::u16string& out,
                         UcnvErrorCode* status)
{
    return ConvertWhole(*this, charset, bytes, out, status,
                        [this](UcnvConverter* c, char16_t** t, const char16_t* tl, const char** s,
                               const char* sl,
                               UcnvErrorCode* e) { ToUnicode(c, t, tl, s, sl, nullptr, true, e); });
}

bool UCNVLibrary::FromWide(const std::string& charset, const std::u16string& text, std::string& out,
                           UcnvErrorCode* status)
{
    return ConvertWhole(
        *this, charset, text, out, status,
        [this](UcnvConverter* c, char** t, const char* tl, const char16_t** s, const char16_t* sl,
               UcnvErrorCode* e) { FromUnicode(c, t, tl, s, sl, nullptr, true, e); });
}

bool UCNVLibrary::CharsetToUtf8(const std::string& charset, const std::string& bytes,
                                std::string& out, UcnvErrorCode* status)
{
    std::u16string wide;
    return ToWide(charset, bytes, wide, status) && FromWide("utf8", wide, out, status);
}

bool UCNVLibrary::Utf8ToCharset(const std::string& charset, const std::string& utf8,
                                std::string& out, UcnvErrorCode* status)
{
    std::u16string wide;
    return ToWide("utf8", utf8, wide, status) && FromWide(charset, wide, out, status);
}

bool UCNVLibrary::CharsetToUtf16(const std::string& charset, const std::string& bytes,
                                 std::u16string& out, UcnvErrorCode* status)
{
    std::u16string wide;
    std::string platform;
    if (!ToWide(charset, bytes, wide, status) ||
        !FromWide("UTF16_PlatformEndian", wide, platform, status))
        return false;
    out.assign(reinterpret_cast<const char16_t*>(platform.data()), platform.size() / 2);
    return true;
}

bool UCNVLibrary::Utf16ToCharset(const std::string& charset, const std::u16string& text,
                                 std::string& out, UcnvErrorCode* status)
{
    const std::string platform(reinterpret_cast<const char*>(text.data()), text.size() * 2);
    std::u16string wide;
    return ToWide("UTF16_PlatformEndian", platform, wide, status) &&
           FromWide(charset, wide, out, status);
}

bool UCNVLibrary::IsCharsetAvailable(const std::string& charset)
{
    UcnvErrorCode err = kUcnvZeroError;
    UcnvConverter* conv = Open(charset.c_str(), &err);
    if (conv)
        Close(conv);
    return conv && err <= kUcnvZeroError;
}

} // namespace kvds
