#include "editor_lock.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

#include "regular_file.h"
#include "safe_file.h"
#include "user_files.h"

const char* const Editor_Lock::FILE_NAME = "editor.lock";

namespace
{
// The process named in a lock file, or 0.
pid_t Holder_Of(const std::string& path)
{
    Regular_File file(path, true);
    std::string text;
    if (!file.Read_All(text, 64))
        return 0;
    long number = std::strtol(text.c_str(), nullptr, 10);
    return number > 0 ? static_cast<pid_t>(number) : 0;
}

bool Running(pid_t process)
{
    return process > 0 && (kill(process, 0) == 0 || errno != ESRCH);
}
} // namespace

Editor_Lock::~Editor_Lock()
{
    Release();
}

bool Editor_Lock::Take(const std::string& folder)
{
    Release();
    path = folder + "/" + FILE_NAME;
    Make_Directories(folder);
    const std::string mine = std::to_string(getpid()) + "\n";
    for (int attempt = 0; attempt < 2; attempt++)
    {
        int descriptor = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (descriptor >= 0)
        {
            bool written = write(descriptor, mine.data(), mine.size()) == static_cast<ssize_t>(mine.size());
            close(descriptor);
            held = written;
            holder = getpid();
            return true;
        }
        if (errno != EEXIST)
            return true; // no lock can be kept there: nothing to tell
        holder = Holder_Of(path);
        if (Running(holder) && holder != getpid())
            return false;
        // A stale lock: its editor is gone.
        unlink(path.c_str());
    }
    return true;
}

void Editor_Lock::Release()
{
    if (held && Holder_Of(path) == getpid())
        unlink(path.c_str());
    held = false;
}
