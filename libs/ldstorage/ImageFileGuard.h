#pragma once

#include <string>
#include <vector>

namespace ld {

// Keeps an image burner's file as it was before a write, so that a failed, cancelled or killed
// burn never leaves an image that looks complete. A new image is written under a staging name
// beside its path ("<dir>/.<name>.portavo-new") and takes its name only once verified. Before an
// append, the image's old length and head (the volume descriptors libisoburn rewrites) go to an
// undo record ("<dir>/.<name>.portavo-undo"), flushed before the first byte is written; a burn
// that ends badly puts them back and a burn that was killed is undone by recover() at the next
// start. Both files are held with an flock while in use, so a live burn's files are never
// touched, and no other program's file carries these names.
class ImageFileGuard
{
public:
    // imagePath: where the image lives (links already followed); writePath: the file the drive
    // writes, the staging file for a new image or the image itself for an append.
    ImageFileGuard(std::string imagePath, std::string writePath);
    // Puts the file back unless commit() succeeded.
    ~ImageFileGuard();
    ImageFileGuard(const ImageFileGuard&) = delete;
    ImageFileGuard& operator=(const ImageFileGuard&) = delete;

    // False (with the reason) when the undo record could not be made safe: nothing may be
    // written then.
    bool ready(std::string* reason) const;
    // Makes the verified image the one at its path; false with the reason when it cannot.
    bool commit(std::string* reason);
    // Puts the file back now; false (with the reason logged) when that failed too.
    bool restore();

    // The link target when path is a symbolic link (followed to the end, even when it dangles),
    // else path itself.
    static std::string resolve(const std::string& path);
    static std::string stagingPath(const std::string& imagePath);
    static std::string undoPath(const std::string& imagePath);
    // Finishes what a killed burn of imagePath left: removes its staging file and undoes its
    // append. Files held by a live burn are left alone.
    static void recover(const std::string& imagePath);

private:
    bool writeUndoRecord();

    std::string imagePath_;
    std::string writePath_;
    bool append_ = false;
    long long size_ = 0;
    std::vector<char> head_;
    int undoFd_ = -1;
    std::string error_;
    bool done_ = false;
};

} // namespace ld
