// The demo movie: the signal words of a recorded game, one per tick, with the
// number of the level it was recorded on.

#include <cstdio>
#include <fstream>
#include <string>

#include "application.h"
#include "regular_file.h"
#include "safe_file.h"

const char* const MOVIE_FILE = "data\\movie\\movie.dat";

void Application::Load_Movie(const char* path)
{
    Regular_File regular(path);
    std::istream& file = regular.Stream();
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
    std::string reason;
    return Save_Movie(path, reason);
}

bool Application::Save_Movie(const char* path, std::string& reason)
{
    // The old movie survives a crash, a full disk or a kill.
    std::string text;
    char number[MOVIE_NUMBER_TEXT];
    std::snprintf(number, sizeof(number), "%d\n", movie_level);
    text += number;
    for (int i = 0; i < signal_buffer_length && i < MAX_SIGNAL_BUFFER_LENGTH; i++)
    {
        std::snprintf(number, sizeof(number), "%d\n", signal_buffer[i]);
        text += number;
    }
    Safe_File file;
    bool written = file.Write(path, text);
    reason = file.reason;
    return written;
}

int Application::Movie_Level_Index() const
{
    if (movie_level < 0 || movie_level >= NUMBER_OF_LEVELS)
        return 0;
    return movie_level;
}
