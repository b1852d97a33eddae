#ifndef BLUEJAY_FILE_GUARD_H
#define BLUEJAY_FILE_GUARD_H

#include <map>
#include <string>

#include "regular_file.h"

// Remembers what each file held when the program last read or wrote it, so
// that a file changed since by anything else (sed, git checkout, a second
// editor) is never written over without a word.
class File_Guard
{
public:
    // The disk now holds what the program holds of this file.
    void Remember(const std::string& path);
    // True when the file holds something else than was remembered (changed,
    // or made where there was none); a file never remembered, or one removed
    // since (nothing of it could be lost), counts as unchanged.
    bool Changed_On_Disk(const std::string& path) const;

private:
    std::map<std::string, File_Stamp> stamps;
};

#endif
