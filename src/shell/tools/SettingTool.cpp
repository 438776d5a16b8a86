// portavo-setting: reads or writes one string setting of the wizard, through the same store
// the wizard uses (locking and atomic replacement included).
//   portavo-setting [--install] [--number] PATH NAME          print the value (1 when missing)
//   portavo-setting [--install] [--number] PATH NAME VALUE    store VALUE
// --number reads and writes an unsigned 32-bit number (e.g. WizardTracing) instead of a string.
// PATH is below the Settings (or, with --install, the Install) group, e.g. "TransferWizard".
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "SettingsAccessors.h"

int main(int argc, char** argv)
{
    int first = 1;
    bool install = false;
    bool number = false;
    for (; first < argc; ++first) {
        if (std::strcmp(argv[first], "--install") == 0)
            install = true;
        else if (std::strcmp(argv[first], "--number") == 0)
            number = true;
        else
            break;
    }
    const int count = argc - first;
    if (count != 2 && count != 3) {
        std::fprintf(stderr, "usage: %s [--install] [--number] PATH NAME [VALUE]\n", argv[0]);
        return 2;
    }
    const std::string path = argv[first];
    const std::string name = argv[first + 1];
    if (count == 3) {
        bool ok;
        if (number) {
            char* end = nullptr;
            errno = 0;
            const unsigned long value = std::strtoul(argv[first + 2], &end, 10);
            if (errno != 0 || end == argv[first + 2] || *end != '\0' || value > UINT32_MAX) {
                std::fprintf(stderr, "%s: not an unsigned 32-bit number: %s\n", argv[0],
                             argv[first + 2]);
                return 2;
            }
            const uint32_t v = uint32_t(value);
            ok = install ? WriteInstallSetting(path, name, v) : WriteSetting(path, name, v);
        } else {
            const std::string value = argv[first + 2];
            ok = install ? WriteInstallSetting(path, name, value) : WriteSetting(path, name, value);
        }
        if (!ok) {
            std::fprintf(stderr, "%s: could not write %s/%s\n", argv[0], path.c_str(),
                         name.c_str());
            return 1;
        }
        return 0;
    }
    if (number) {
        uint32_t value = 0;
        if (!(install ? ReadInstallSetting(path, name, value) : ReadSetting(path, name, value)))
            return 1;
        std::printf("%u\n", value);
        return 0;
    }
    std::string value;
    if (!(install ? ReadInstallSetting(path, name, value) : ReadSetting(path, name, value)))
        return 1;
    std::printf("%s\n", value.c_str());
    return 0;
}
