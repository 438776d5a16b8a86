#pragma once

#include "StorageLibrary.h"

#include <cstdint>
#include <string>

// Names of the storage library's status codes for the log, and the burner's result codes made
// from them.
class StorageStatus
{
public:
    // The table's name of code, or nullptr when the table has none.
    static const char* Name(int32_t code);
    // Appends the name of code to text. A sense error also carries the device's sense bytes,
    // read through library from record (which may be null); a code outside the table gives
    // "Missing error text in app: [code]".
    static void AppendText(int32_t code, std::string& text, StorageLibrary* library = nullptr,
                           LD_DeviceRecord* record = nullptr);
    static std::string Text(int32_t code, StorageLibrary* library = nullptr,
                            LD_DeviceRecord* record = nullptr);
    // Logs "Error: " and the name of code.
    static void LogError(int32_t code, StorageLibrary* library = nullptr,
                         LD_DeviceRecord* record = nullptr);
    // 0 stays 0, FileNotFound becomes 32, every other failure 39.
    static uint32_t ToResult(int32_t code);
};
