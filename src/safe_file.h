#ifndef BLUEJAY_SAFE_FILE_H
#define BLUEJAY_SAFE_FILE_H

#include <string>
#include <sys/stat.h>

// The one way the game writes a file it cares about (the level maps, the
// movie, the progress): the new content goes to a temporary file of its own
// beside the target (named after the target, the writer's process and a
// unique end, so that two writers never meet), is flushed to the disk and
// then renamed over the target, so that a crash, a full disk, a kill or a
// second writer at any moment leaves either the old file or a new one, never
// a cut-off one. The file keeps its permission bits, its owner and its
// group; a symbolic link stays a link and its target gets the new content,
// but only when that target is a regular file (or not there yet). A file
// with other hard links, or whose owner cannot be kept, is written in place
// after a copy of the old content is kept as NAME.bak. A failed write says
// why, in the system's words ("Is a directory", "File too large"), and what
// is on the disk is what was reported.
//
//     Safe_File file;
//     if (!file.Write(path, text))
//         show(file.reason);
class Safe_File
{
public:
    // Links followed before a chain of them counts as a loop.
    static constexpr int MAX_LINKS = 40;
    // What follows the target's name in a temporary file's name, before the
    // writer's process number and the unique end.
    static const char* const TEMPORARY_SUFFIX;
    // The end of the copy kept before a write in place.
    static const char* const BACKUP_SUFFIX;

    // Why the last Write failed; empty after a success.
    std::string reason;

    // For the fault tests: the system call (counted from 1 in each Write)
    // that fails with fault_error instead of being made; 0 makes every call.
    int fail_call = 0;
    int fault_error = 0;
    // The system calls the last Write made (or would have made).
    int calls_made = 0;

    // Replaces the whole content of the file at path (creating it when it is
    // not there) with text; true when it is on the disk.
    bool Write(const std::string& path, const std::string& text);

    // Makes a new file at path with text; fails (EEXIST in error) when
    // anything, even a link to nothing, is already there.
    bool Create(const std::string& path, const std::string& text);
    // The system's number for the last failure, 0 after a success.
    int error = 0;

    // The file a path ends at once every symbolic link on the way is
    // followed (the path itself when it is no link); empty, with reason
    // set, for a loop of links.
    std::string Final_Target(const std::string& path);

    // Removes the temporary files in folder that writers which are gone
    // left behind (a kill, a power cut); another running writer's are kept.
    // The number removed.
    static int Remove_Stale_Temporaries(const std::string& folder);

private:
    // Keeps the system's words for the error; false.
    bool Fail(int error);
    // True when the next system call is to fail (errno set).
    bool Fault();
    bool Write_In_Place(const std::string& target, const std::string& text, const struct stat& status);
};

#endif
