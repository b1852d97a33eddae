#ifndef BLUEJAY_USER_FILES_H
#define BLUEJAY_USER_FILES_H

#include <string>

// Where the files the player makes go: the movie of the last game and the
// levels the editor saves. They are written beside the data when the data
// folder is the player's own (a build tree, a copy); when the game is
// installed, or its data folder is not writable, they go to the user's data
// folder instead, under the same relative names, and a file there is read in
// place of the installed one.

// The folder the player's files go to, or empty for "beside the data".
void Set_User_Files_Directory(const std::string& directory);
const std::string& User_Files_Directory();

// The user's data folder of the game: $XDG_DATA_HOME/bluejay, else
// ~/.local/share/bluejay; empty when neither variable is set.
std::string Default_User_Files_Directory();

// Fills buffer (Application::MAX_PATH_LENGTH) with where to read a data file
// given by its backslash path: the player's copy when there is one, else the
// file beside the data.
void Make_Read_Path(char* buffer, const char* path);

// Fills buffer with where to write the file; makes the folders on the way.
// False when they cannot be made (the path is filled all the same).
bool Make_Write_Path(char* buffer, const char* path);
// The same, with the system's reason when the folders cannot be made.
bool Make_Write_Path(char* buffer, const char* path, std::string& reason);

// Clears the temporary files that writers which are gone (a kill, a power
// cut) left beside the levels, the movie and the player's files; the number
// removed.
int Remove_Stale_Temporary_Files();

// Makes a folder and those above it; true when it is there afterwards.
bool Make_Directories(const std::string& directory);

#endif
