#pragma once

#include <cstdint>
#include <string>

namespace kvds {

// ICU's converter API, loaded at run time so the program runs without ICU.
// Types mirror ICU's C API (UErrorCode, UChar, UBool) without its headers.
struct UcnvConverter;
using UcnvErrorCode = int32_t;
constexpr UcnvErrorCode kUcnvZeroError = 0;
constexpr UcnvErrorCode kUcnvInternalProgramError = 5; // U_INTERNAL_PROGRAM_ERROR
constexpr UcnvErrorCode kUcnvBufferOverflowError = 15; // U_BUFFER_OVERFLOW_ERROR

class UCNVLibrary
{
public:
    // Searches the versioned common library (libicuuc.so.N) from newer to
    // older releases, then the unversioned name.
    UCNVLibrary();
    // Loads exactly this library (a file name for dlopen).
    explicit UCNVLibrary(const std::string& libraryName);
    virtual ~UCNVLibrary();
    UCNVLibrary(const UCNVLibrary&) = delete;
    UCNVLibrary& operator=(const UCNVLibrary&) = delete;

    // The process-wide instance, created on first use.
    static UCNVLibrary& Instance();

    // True when the library and all four converter functions were found.
    bool IsLoaded() const;
    // The ICU major version whose symbols were bound (0 = unversioned/none).
    int IcuVersion() const { return m_version; }

    // Wrappers of ucnv_open, ucnv_close, ucnv_toUnicode and ucnv_fromUnicode.
    // Without the library they set *status to 5 and do nothing.
    UcnvConverter* Open(const char* converterName, UcnvErrorCode* status);
    void Close(UcnvConverter* converter);
    void ToUnicode(UcnvConverter* converter, char16_t** target, const char16_t* targetLimit,
                   const char** source, const char* sourceLimit, int32_t* offsets, bool flush,
                   UcnvErrorCode* status);
    void FromUnicode(UcnvConverter* converter, char** target, const char* targetLimit,
                     const char16_t** source, const char16_t* sourceLimit, int32_t* offsets,
                     bool flush, UcnvErrorCode* status);

    // Whole-buffer conversions through one named converter: bytes in that
    // charset to UTF-16, and UTF-16 to bytes in that charset.
    bool ToWide(const std::string& charset, const std::string& bytes, std::u16string& out,
                UcnvErrorCode* status = nullptr);
    bool FromWide(const std::string& charset, const std::u16string& text, std::string& out,
                  UcnvErrorCode* status = nullptr);

    // The four re-encoding functions: a named charset to and from UTF-8
    // (converter "utf8") and UTF-16 in platform order ("UTF16_PlatformEndian").
    bool CharsetToUtf8(const std::string& charset, const std::string& bytes, std::string& out,
                       UcnvErrorCode* status = nullptr);
    bool Utf8ToCharset(const std::string& charset, const std::string& utf8, std::string& out,
                       UcnvErrorCode* status = nullptr);
    bool CharsetToUtf16(const std::string& charset, const std::string& bytes, std::u16string& out,
                        UcnvErrorCode* status = nullptr);
    bool Utf16ToCharset(const std::string& charset, const std::u16string& text, std::string& out,
                        UcnvErrorCode* status = nullptr);

    // True when a converter of that name opens (and is closed again).
    bool IsCharsetAvailable(const std::string& charset);

private:
    bool Load(const std::string& libraryName, int versionHint);
    void Unload();

    using OpenFn = UcnvConverter* (*)(const char*, UcnvErrorCode*);
    using CloseFn = void (*)(UcnvConverter*);
    using ToUnicodeFn = void (*)(UcnvConverter*, char16_t**, const char16_t*, const char**,
                                 const char*, int32_t*, int8_t, UcnvErrorCode*);
    using FromUnicodeFn = void (*)(UcnvConverter*, char**, const char*, const char16_t**,
                                   const char16_t*, int32_t*, int8_t, UcnvErrorCode*);

    void* m_module = nullptr;
    OpenFn m_open = nullptr;
    CloseFn m_close = nullptr;
    ToUnicodeFn m_toUnicode = nullptr;
    FromUnicodeFn m_fromUnicode = nullptr;
    int m_version = 0;
};

} // namespace kvds
