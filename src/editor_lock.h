#ifndef BLUEJAY_EDITOR_LOCK_H
#define BLUEJAY_EDITOR_LOCK_H

#include <string>
#include <sys/types.h>

// The file beside the levels that names the editor holding them. A second
// editor finds it and says so; one left by an editor that is gone (a kill,
// a power cut) is taken over without a word.
class Editor_Lock
{
public:
    static const char* const FILE_NAME;

    ~Editor_Lock();
    // Takes the lock in folder; false when a running editor holds it
    // (holder then names its process).
    bool Take(const std::string& folder);
    // Gives the lock back if it is ours.
    void Release();

    pid_t holder = 0;
    bool held = false;

private:
    std::string path;
};

#endif
