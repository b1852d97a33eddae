#ifndef BLUEJAY_SAFE_FILE_H
#define BLUEJAY_SAFE_FILE_H

#include <string>

// The one way the game writes a file it cares about (the level maps, the
// movie): the new content goes to a temporary file beside the target, is
// flushed to the disk and then renamed over the target, so that a crash, a
// full disk or a kill at any moment leaves either the old file or the new
// one, never a cut-off one. The file keeps its permission bits; a symbolic
// link stays a link and its target gets the new content. A failed write says
// why, in the system's words ("Is a directory", "Permission denied").
//
//     Safe_File file;
//     if (!file.Write(path, text))
//         show(file.reason);
class Safe_File
{
public:
    // Links followed before a chain of them counts as a loop.
    static constexpr int MAX_LINKS = 40;
    // The end of the temporary file's name, after the target's name.
    static const char* const TEMPORARY_SUFFIX;

    // Why the last Write failed; empty after a success.
    std::string reason;

    // Replaces the whole content of the file at path (creating it when it is
    // not there) with text; true when it is on the disk.
    bool Write(const std::string& path, const std::string& text);

    // The file a path ends at once every symbolic link on the way is
    // followed (the path itself when it is no link); empty, with reason
    // set, for a loop of links.
    std::string Final_Target(const std::string& path);

private:
    // Keeps the system's words for the error; false.
    bool Fail(int error);
};

#endif
