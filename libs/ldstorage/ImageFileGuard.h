#pragma once

#include <string>
#include <vector>

namespace ld {

// Keeps an image burner's file as it was before a write, so that a cancelled or failed burn
// never leaves an image that looks complete: a new file is removed, a grown one is cut back to
// its old length and gets its old head (the volume descriptors libisoburn rewrites) again.
class ImageFileGuard
{
public:
    explicit ImageFileGuard(std::string path);
    // Puts the file back unless commit() was called.
    ~ImageFileGuard();
    ImageFileGuard(const ImageFileGuard&) = delete;
    ImageFileGuard& operator=(const ImageFileGuard&) = delete;

    void commit() { committed_ = true; }
    // Puts the file back now; false (with the reason logged) when that failed too.
    bool restore();

private:
    std::string path_;
    bool existed_ = false;
    long long size_ = 0;
    std::vector<char> head_;
    bool committed_ = false;
};

} // namespace ld
