#pragma once

#include <string>
#include <vector>

// Names of the source files at the root of the disc: the part of each path after the last "/"
// (a backslash is an ordinary character of a file name here). Two sources with the same name (from
// different folders) would collide there, and readers of the disc compare names without regard to
// case, so a later one is given the first free "name (2).ext", "name (3).ext", ...
class DiscEntryNames
{
public:
    static std::u16string BaseName(const std::u16string& path);
    static std::vector<std::u16string> Unique(const std::vector<std::u16string>& paths);
};
