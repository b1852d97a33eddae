#include "progress.h"

#include <fstream>
#include <sstream>

#include "application.h"
#include "safe_file.h"

const char* const Progress::HEADER = "bluejay progress 1";
const char* const Progress::FILE_NAME = "progress.txt";

namespace
{
// The longest file we read: a few short lines. Anything longer is not ours.
constexpr std::streamsize MAX_FILE_SIZE = 4096;
// The checksum's multiplier and start (the FNV-1a hash of the words' bytes).
constexpr unsigned int CHECKSUM_START = 2166136261u;
constexpr unsigned int CHECKSUM_PRIME = 16777619u;
constexpr int BYTE_BITS = 8;
constexpr int BYTES_PER_WORD = 4;
constexpr unsigned int BYTE_MASK = 0xff;
} // namespace

bool Progress::Load(const std::string& path)
{
    *this = Progress();
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return false;
    std::string text(MAX_FILE_SIZE + 1, '\0');
    file.read(&text[0], MAX_FILE_SIZE + 1);
    if (file.gcount() > MAX_FILE_SIZE)
        return false;
    text.resize(static_cast<size_t>(file.gcount()));

    std::istringstream lines(text);
    std::string line;
    if (!std::getline(lines, line) || line != HEADER)
        return false;
    Progress read;
    while (std::getline(lines, line))
    {
        std::istringstream fields(line);
        std::string name;
        if (!(fields >> name))
            continue;
        bool sound = false;
        if (name == "level")
            sound = fields >> read.furthest_level && read.furthest_level >= 0 &&
                    read.furthest_level < Application::NUMBER_OF_LEVELS;
        else if (name == "best")
            sound = fields >> read.best_score && read.best_score >= 0;
        else if (name == "movie")
            sound = fields >> read.movie_level >> read.movie_length >> read.movie_checksum >> read.movie_start.lives >>
                        read.movie_start.eggs >> read.movie_start.points &&
                    read.movie_level >= 0 && read.movie_level < Application::NUMBER_OF_LEVELS &&
                    read.movie_length > 0 && read.movie_length <= Application::MAX_SIGNAL_BUFFER_LENGTH &&
                    read.movie_start.lives >= 0 && read.movie_start.eggs >= 0 && read.movie_start.points >= 0;
        std::string rest;
        if (!sound || fields >> rest)
            return false;
    }
    *this = read;
    return true;
}

bool Progress::Save(const std::string& path, std::string& reason) const
{
    std::ostringstream text;
    text << HEADER << "\n";
    text << "level " << furthest_level << "\n";
    text << "best " << best_score << "\n";
    if (movie_level != NO_MOVIE)
        text << "movie " << movie_level << " " << movie_length << " " << movie_checksum << " " << movie_start.lives
             << " " << movie_start.eggs << " " << movie_start.points << "\n";
    Safe_File file;
    bool written = file.Write(path, text.str());
    reason = file.reason;
    return written;
}

unsigned int Progress::Checksum(const int* words, int length)
{
    unsigned int hash = CHECKSUM_START;
    for (int i = 0; i < length; i++)
    {
        unsigned int word = static_cast<unsigned int>(words[i]);
        for (int byte = 0; byte < BYTES_PER_WORD; byte++)
        {
            hash ^= (word >> (byte * BYTE_BITS)) & BYTE_MASK;
            hash *= CHECKSUM_PRIME;
        }
    }
    return hash;
}

void Progress::Remember_Movie(int level, const int* words, int length, const Run_Start& start)
{
    movie_level = level;
    movie_length = length;
    movie_checksum = Checksum(words, length);
    movie_start = start;
}

bool Progress::Is_Recorded_Movie(int level, const int* words, int length) const
{
    return movie_level != NO_MOVIE && level == movie_level && length == movie_length &&
           Checksum(words, length) == movie_checksum;
}
