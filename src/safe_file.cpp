#include "safe_file.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

const char* const Safe_File::TEMPORARY_SUFFIX = ".tmp";

namespace
{
// New files get what the user's umask leaves of these bits.
constexpr mode_t NEW_FILE_MODE = 0666;
constexpr mode_t PERMISSION_BITS = 07777;

std::string Folder_Of(const std::string& path)
{
    std::string::size_type slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return path.substr(0, slash);
}

bool Write_All(int descriptor, const std::string& text)
{
    const char* data = text.data();
    std::string::size_type left = text.size();
    while (left > 0)
    {
        ssize_t written = write(descriptor, data, left);
        if (written < 0)
        {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += written;
        left -= static_cast<std::string::size_type>(written);
    }
    return true;
}

// Makes a rename in the folder last across a power cut. Some file systems
// cannot sync a folder and say so with EINVAL; that is no failure.
int Sync_Folder(const std::string& folder)
{
    int descriptor = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0)
        return errno;
    int error = 0;
    if (fsync(descriptor) != 0 && errno != EINVAL)
        error = errno;
    close(descriptor);
    return error;
}
} // namespace

bool Safe_File::Fail(int error)
{
    reason = std::strerror(error);
    return false;
}

std::string Safe_File::Final_Target(const std::string& path)
{
    std::string target = path;
    for (int links = 0; links <= MAX_LINKS; links++)
    {
        struct stat status;
        if (lstat(target.c_str(), &status) != 0 || !S_ISLNK(status.st_mode))
            return target;
        std::string link(static_cast<std::string::size_type>(status.st_size > 0 ? status.st_size : 256) + 1, '\0');
        ssize_t length = readlink(target.c_str(), &link[0], link.size());
        if (length < 0)
            return target;
        link.resize(static_cast<std::string::size_type>(length));
        // A relative link is relative to the folder the link is in.
        if (!link.empty() && link[0] != '/')
            link = Folder_Of(target) + "/" + link;
        target = link;
    }
    Fail(ELOOP);
    return std::string();
}

bool Safe_File::Write(const std::string& path, const std::string& text)
{
    reason.clear();
    // Through a link, the link's target is replaced and the link stays.
    std::string target = Final_Target(path);
    if (target.empty())
        return false;

    mode_t mode = 0;
    bool keep_mode = false;
    struct stat status;
    if (stat(target.c_str(), &status) == 0)
    {
        if (S_ISDIR(status.st_mode))
            return Fail(EISDIR);
        mode = status.st_mode & PERMISSION_BITS;
        keep_mode = true;
    }

    std::string temporary = target + TEMPORARY_SUFFIX;
    // A temporary file left by a crash (or anything else of that name) goes
    // first, so that the new one is created afresh and no link is followed.
    if (unlink(temporary.c_str()) != 0 && errno != ENOENT && errno != EISDIR && errno != EPERM)
        return Fail(errno);
    int descriptor = open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, NEW_FILE_MODE);
    if (descriptor < 0)
        return Fail(errno);

    int error = 0;
    if (!Write_All(descriptor, text))
        error = errno;
    if (error == 0 && keep_mode && fchmod(descriptor, mode) != 0)
        error = errno;
    if (error == 0 && fsync(descriptor) != 0)
        error = errno;
    if (close(descriptor) != 0 && error == 0)
        error = errno;
    if (error == 0 && rename(temporary.c_str(), target.c_str()) != 0)
        error = errno;
    if (error != 0)
    {
        unlink(temporary.c_str());
        return Fail(error);
    }
    error = Sync_Folder(Folder_Of(target));
    if (error != 0)
        return Fail(error);
    return true;
}
