#include "file_guard.h"

void File_Guard::Remember(const std::string& path)
{
    stamps[path] = File_Stamp::Of(path);
}

bool File_Guard::Changed_On_Disk(const std::string& path) const
{
    auto found = stamps.find(path);
    if (found == stamps.end())
        return false;
    File_Stamp now = File_Stamp::Of(path);
    return now.present && now != found->second;
}
