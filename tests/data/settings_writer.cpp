// Writes COUNT values named PREFIX0..PREFIX<COUNT-1> into the Settings key
// "Concurrency", one accessor call each, as a second process would. Exits 1 at
// the first write that fails.
#include "SettingsAccessors.h"

#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: settings_writer PREFIX COUNT\n");
        return 2;
    }
    const std::string prefix = argv[1];
    const int count = std::atoi(argv[2]);
    for (int i = 0; i < count; ++i) {
        if (!WriteSetting("Concurrency", prefix + std::to_string(i), uint32_t(i))) {
            std::fprintf(stderr, "write %d failed\n", i);
            return 1;
        }
    }
    return 0;
}
