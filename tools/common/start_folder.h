#pragma once

// The folder a tool was started from. The tools move into the data folder to
// find the game's files; a file the user names on the command line is still
// meant relative to where the user was.

#include <string>

class Start_Folder
{
public:
    // The current folder at the time of construction ("" if unknown).
    std::string directory;

    Start_Folder();
    // An absolute path, or a relative one taken from the start folder.
    std::string Resolve(const std::string& path) const;
};
