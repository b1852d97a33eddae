#include "start_folder.h"

#include <unistd.h>

#include <vector>

namespace
{
const size_t LONGEST_FOLDER = 4096;
}

Start_Folder::Start_Folder()
{
    std::vector<char> buffer(LONGEST_FOLDER);
    if (getcwd(buffer.data(), buffer.size()) != nullptr)
        directory = buffer.data();
}

std::string Start_Folder::Resolve(const std::string& path) const
{
    if (path.empty() || path[0] == '/' || directory.empty())
        return path;
    return directory + "/" + path;
}
