// The demo movie: the signal words of a recorded game, one per tick, with the
// number of the level it was recorded on.

#include <cstdio>
#include <fstream>
#include <string>

#include "application.h"

const char* const MOVIE_FILE = "data\\movie\\movie.dat";

void Application::Load_Movie(const char* path)
{
    std::ifstream file(path);
    if (!file)
        return;
    int level = 0;
    if (!(file >> level))
        return;
    movie_level = level;
    // A number that ends exactly at the end of the file, with no line end
    // after it, is not a word; reading also ends at anything that is not a
    // number, keeping the words before it. Words past the buffer are dropped.
    int word = 0;
    while (file >> word && !file.eof())
    {
        if (signal_buffer_length < MAX_SIGNAL_BUFFER_LENGTH)
        {
            signal_buffer[signal_buffer_length] = word;
            signal_buffer_length++;
        }
    }
}

bool Application::Save_Movie(const char* path)
{
    // Written beside the old movie and renamed over it, so the old one
    // survives a crash or a full disk.
    std::string temporary = std::string(path) + ".tmp";
    FILE* file = std::fopen(temporary.c_str(), "w");
    if (file == nullptr)
        return false;
    bool written = std::fprintf(file, "%d\n", movie_level) > 0;
    for (int i = 0; i < signal_buffer_length && i < MAX_SIGNAL_BUFFER_LENGTH; i++)
        written = written && std::fprintf(file, "%d\n", signal_buffer[i]) > 0;
    written = (std::fflush(file) == 0) && written;
    written = (std::fclose(file) == 0) && written;
    if (!written || std::rename(temporary.c_str(), path) != 0)
    {
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}

int Application::Movie_Level_Index() const
{
    if (movie_level < 0 || movie_level >= NUMBER_OF_LEVELS)
        return 0;
    return movie_level;
}
