#include "user_files.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

#include "application.h"
#include "safe_file.h"

namespace
{
std::string user_files_directory;

// The whole path of a data file in the user's folder, or empty.
std::string User_Copy(const char* path)
{
    if (user_files_directory.empty())
        return std::string();
    char relative[Application::MAX_PATH_LENGTH];
    Make_Path(relative, path);
    return user_files_directory + "/" + relative;
}

void Copy_Path(char* buffer, const std::string& path)
{
    std::strncpy(buffer, path.c_str(), Application::MAX_PATH_LENGTH - 1);
    buffer[Application::MAX_PATH_LENGTH - 1] = '\0';
}
} // namespace

void Set_User_Files_Directory(const std::string& directory)
{
    user_files_directory = directory;
    while (user_files_directory.size() > 1 && user_files_directory.back() == '/')
        user_files_directory.pop_back();
}

const std::string& User_Files_Directory()
{
    return user_files_directory;
}

std::string Default_User_Files_Directory()
{
    const char* data_home = std::getenv("XDG_DATA_HOME");
    // Only an absolute XDG_DATA_HOME counts; a relative one is ignored.
    if (data_home != nullptr && data_home[0] == '/')
        return std::string(data_home) + "/bluejay";
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] != '\0')
        return std::string(home) + "/.local/share/bluejay";
    return std::string();
}

void Make_Read_Path(char* buffer, const char* path)
{
    std::string copy = User_Copy(path);
    if (!copy.empty() && access(copy.c_str(), R_OK) == 0)
        Copy_Path(buffer, copy);
    else
        Make_Path(buffer, path);
}

bool Make_Write_Path(char* buffer, const char* path)
{
    std::string reason;
    return Make_Write_Path(buffer, path, reason);
}

bool Make_Write_Path(char* buffer, const char* path, std::string& reason)
{
    std::string copy = User_Copy(path);
    if (copy.empty())
    {
        Make_Path(buffer, path);
        return true;
    }
    Copy_Path(buffer, copy);
    std::string::size_type slash = copy.rfind('/');
    std::string folder = copy.substr(0, slash);
    if (Make_Directories(folder))
        return true;
    // The reason of the folder that could not be made, or the thing in its
    // place that is no folder.
    reason = errno != 0 ? std::strerror(errno) : std::strerror(ENOTDIR);
    return false;
}

bool Make_Directories(const std::string& directory)
{
    if (directory.empty())
        return true;
    struct stat status;
    if (stat(directory.c_str(), &status) == 0)
    {
        errno = S_ISDIR(status.st_mode) ? 0 : ENOTDIR;
        return S_ISDIR(status.st_mode);
    }
    std::string::size_type slash = directory.rfind('/');
    if (slash != std::string::npos && slash > 0 && !Make_Directories(directory.substr(0, slash)))
        return false;
    return mkdir(directory.c_str(), 0755) == 0 || errno == EEXIST;
}

int Remove_Stale_Temporary_Files()
{
    int removed = 0;
    for (const char* folder : {"data\\levels", "data\\movie", "data\\messages"})
    {
        char path[Application::MAX_PATH_LENGTH];
        Make_Path(path, folder);
        removed += Safe_File::Remove_Stale_Temporaries(path);
        if (!user_files_directory.empty())
            removed += Safe_File::Remove_Stale_Temporaries(user_files_directory + "/" + path);
    }
    if (!user_files_directory.empty())
        removed += Safe_File::Remove_Stale_Temporaries(user_files_directory);
    return removed;
}
