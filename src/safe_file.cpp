#include "safe_file.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

const char* const Safe_File::TEMPORARY_SUFFIX = ".tmp";
const char* const Safe_File::BACKUP_SUFFIX = ".bak";

namespace
{
// New files get what the user's umask leaves of these bits.
constexpr mode_t NEW_FILE_MODE = 0666;
constexpr mode_t PERMISSION_BITS = 07777;
// The unique end mkstemp fills in.
const char* const UNIQUE_END = "XXXXXX";
constexpr std::string::size_type UNIQUE_LENGTH = 6;

std::string Folder_Of(const std::string& path)
{
    std::string::size_type slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return path.substr(0, slash);
}

mode_t Current_Umask()
{
    mode_t mask = umask(0);
    umask(mask);
    return mask;
}

bool Is_Digits(const std::string& text)
{
    return !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
}
} // namespace

bool Safe_File::Fail(int number)
{
    error = number;
    reason = std::strerror(number);
    return false;
}

bool Safe_File::Fault()
{
    calls_made++;
    if (fail_call == 0 || calls_made != fail_call)
        return false;
    errno = fault_error != 0 ? fault_error : EIO;
    return true;
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

namespace
{
// Writes the whole text from offset 0; false with errno set.
template <typename Fault_Check>
bool Write_All(int descriptor, const std::string& text, Fault_Check fault)
{
    const char* data = text.data();
    std::string::size_type left = text.size();
    off_t offset = 0;
    do
    {
        if (fault())
            return false;
        ssize_t written = pwrite(descriptor, data, left, offset);
        if (written < 0)
        {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += written;
        offset += written;
        left -= static_cast<std::string::size_type>(written);
    } while (left > 0);
    return true;
}

bool Read_All(const std::string& path, std::string& text)
{
    int descriptor = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (descriptor < 0)
        return false;
    char buffer[65536];
    ssize_t length = 0;
    while ((length = read(descriptor, buffer, sizeof(buffer))) > 0 || (length < 0 && errno == EINTR))
        if (length > 0)
            text.append(buffer, static_cast<size_t>(length));
    int error = errno;
    close(descriptor);
    errno = error;
    return length == 0;
}
} // namespace

bool Safe_File::Create(const std::string& path, const std::string& text)
{
    reason.clear();
    error = 0;
    calls_made = 0;
    int descriptor = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, NEW_FILE_MODE);
    if (descriptor < 0)
        return Fail(errno);
    int failure = 0;
    if (!Write_All(descriptor, text, [this] { return Fault(); }) || fsync(descriptor) != 0)
        failure = errno;
    if (close(descriptor) != 0 && failure == 0)
        failure = errno;
    if (failure == 0)
        return true;
    unlink(path.c_str());
    return Fail(failure);
}

bool Safe_File::Write(const std::string& path, const std::string& text)
{
    reason.clear();
    error = 0;
    calls_made = 0;
    // Through a link, the link's target is replaced and the link stays.
    std::string target = Final_Target(path);
    if (target.empty())
        return false;

    struct stat status;
    bool exists = stat(target.c_str(), &status) == 0;
    if (exists && S_ISDIR(status.st_mode))
        return Fail(EISDIR);
    // A device, a pipe or a socket is never replaced by a file.
    if (exists && !S_ISREG(status.st_mode))
    {
        reason = "not a regular file";
        error = EINVAL;
        return false;
    }
    // A rename would split the hard links, or give the file to us.
    if (exists && (status.st_nlink > 1 || (geteuid() != 0 && status.st_uid != geteuid())))
        return Write_In_Place(target, text, status);

    std::string temporary = target + TEMPORARY_SUFFIX + "." + std::to_string(getpid()) + "." + UNIQUE_END;
    int descriptor = Fault() ? -1 : mkostemp(&temporary[0], O_CLOEXEC);
    if (descriptor < 0)
        return Fail(errno);

    int error = 0;
    mode_t mode = exists ? status.st_mode & PERMISSION_BITS : NEW_FILE_MODE & ~Current_Umask();
    if (!Write_All(descriptor, text, [this] { return Fault(); }))
        error = errno;
    if (error == 0 && fchmod(descriptor, mode) != 0)
        error = errno;
    bool owner_kept = true;
    if (error == 0 && exists && (Fault() || fchown(descriptor, status.st_uid, status.st_gid) != 0))
    {
        error = errno;
        owner_kept = error != EPERM;
    }
    if (error == 0 && (Fault() || fsync(descriptor) != 0))
        error = errno;
    if (close(descriptor) != 0 && error == 0)
        error = errno;
    // The old file changes places with the new one, so that it can come back
    // if the folder cannot be made to keep the change.
    bool exchanged = false;
    if (error == 0 && Fault())
        error = errno;
    else if (error == 0)
    {
        exchanged = exists && renameat2(AT_FDCWD, temporary.c_str(), AT_FDCWD, target.c_str(), RENAME_EXCHANGE) == 0;
        if (!exchanged && rename(temporary.c_str(), target.c_str()) != 0)
            error = errno;
    }
    if (error != 0)
    {
        unlink(temporary.c_str());
        if (!owner_kept)
        {
            reason.clear();
            return Write_In_Place(target, text, status);
        }
        return Fail(error);
    }
    int folder = open(Folder_Of(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    // Some file systems cannot sync a folder and say so with EINVAL; that is
    // no failure.
    if (folder < 0 || Fault() || (fsync(folder) != 0 && errno != EINVAL))
        error = errno;
    if (folder >= 0)
        close(folder);
    if (error != 0 && exchanged)
    {
        renameat2(AT_FDCWD, temporary.c_str(), AT_FDCWD, target.c_str(), RENAME_EXCHANGE);
        unlink(temporary.c_str());
        return Fail(error);
    }
    if (exchanged)
        unlink(temporary.c_str());
    return error == 0 || Fail(error);
}

bool Safe_File::Write_In_Place(const std::string& target, const std::string& text, const struct stat& status)
{
    // The old content is kept first, through the ordinary safe write.
    std::string old;
    if (!Read_All(target, old))
        return Fail(errno);
    Safe_File backup;
    if (!backup.Write(target + BACKUP_SUFFIX, old))
    {
        reason = backup.reason;
        return false;
    }
    int descriptor = Fault() ? -1 : open(target.c_str(), O_WRONLY | O_CLOEXEC | O_NONBLOCK | O_NOFOLLOW);
    if (descriptor < 0)
        return Fail(errno);
    struct stat now;
    int error = 0;
    if (fstat(descriptor, &now) != 0)
        error = errno;
    else if (!S_ISREG(now.st_mode) || now.st_ino != status.st_ino || now.st_dev != status.st_dev)
        error = EAGAIN;
    bool started = false;
    if (error == 0)
    {
        started = true;
        if (!Write_All(descriptor, text, [this] { return Fault(); }))
            error = errno;
    }
    if (error == 0 && ftruncate(descriptor, static_cast<off_t>(text.size())) != 0)
        error = errno;
    if (error == 0 && (Fault() || fsync(descriptor) != 0))
        error = errno;
    // A write that failed half way puts the old content back as it can.
    if (error != 0 && started && Write_All(descriptor, old, [] { return false; }))
    {
        if (ftruncate(descriptor, static_cast<off_t>(old.size())) == 0)
            fsync(descriptor);
    }
    if (close(descriptor) != 0 && error == 0)
        error = errno;
    return error == 0 || Fail(error);
}

int Safe_File::Remove_Stale_Temporaries(const std::string& folder)
{
    DIR* directory = opendir(folder.c_str());
    if (directory == nullptr)
        return 0;
    int removed = 0;
    const std::string marker = std::string(TEMPORARY_SUFFIX) + ".";
    while (dirent* entry = readdir(directory))
    {
        // NAME.tmp.PROCESS.UNIQUE
        std::string name = entry->d_name;
        if (name.size() < marker.size() + UNIQUE_LENGTH + 2 || name[name.size() - UNIQUE_LENGTH - 1] != '.')
            continue;
        std::string::size_type at = name.rfind(marker, name.size() - UNIQUE_LENGTH - 1);
        if (at == std::string::npos)
            continue;
        std::string process = name.substr(at + marker.size(), name.size() - UNIQUE_LENGTH - 1 - at - marker.size());
        if (!Is_Digits(process) || process.size() > 9)
            continue;
        pid_t writer = static_cast<pid_t>(std::atol(process.c_str()));
        if (writer == getpid() || kill(writer, 0) == 0 || errno != ESRCH)
            continue;
        std::string path = folder + "/" + name;
        struct stat status;
        if (lstat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode) && unlink(path.c_str()) == 0)
            removed++;
    }
    closedir(directory);
    return removed;
}
