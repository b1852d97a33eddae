#include "progress.h"

#include <algorithm>
#include <sstream>

#include "application.h"
#include "regular_file.h"
#include "regular_file.h"
#include "safe_file.h"

const char* const Progress::HEADER = "bluejay progress 1";
const char* const Progress::FILE_NAME = "progress.txt";
const char* const Progress::BACKUP_SUFFIX = ".bak";

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
    Regular_File file(path);
    std::string text;
    if (!file.Read_All(text, MAX_FILE_SIZE))
    {
        damaged = file.Is_Open();
        return false;
    }

    std::istringstream lines(text);
    std::string line;
    auto next_line = [&] {
        if (!std::getline(lines, line))
            return false;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        return true;
    };
    if (!next_line() || line != HEADER)
    {
        damaged = true;
        return false;
    }
    Progress read;
    while (next_line())
    {
        std::istringstream fields(line);
        std::string name;
        if (!(fields >> name))
            continue;
        Progress entry = read;
        bool sound = false;
        if (name == "level")
            sound = fields >> entry.furthest_level && entry.furthest_level >= 0 &&
                    entry.furthest_level < Application::NUMBER_OF_LEVELS;
        else if (name == "best")
            sound = fields >> entry.best_score && entry.best_score >= 0;
        else if (name == "movie")
            sound = fields >> entry.movie_level >> entry.movie_length >> entry.movie_checksum >>
                        entry.movie_start.lives >> entry.movie_start.eggs >> entry.movie_start.points &&
                    entry.movie_level >= 0 && entry.movie_level < Application::NUMBER_OF_LEVELS &&
                    entry.movie_length > 0 && entry.movie_length <= Application::MAX_SIGNAL_BUFFER_LENGTH &&
                    entry.movie_start.lives >= 0 && entry.movie_start.eggs >= 0 && entry.movie_start.points >= 0;
        else
        {
            read.other_lines.push_back(line);
            continue;
        }
        std::string rest;
        if (sound && !(fields >> rest))
            read = entry;
        else
            read.damaged = true;
    }
    *this = read;
    return true;
}

bool Progress::Save(const std::string& path, std::string& reason) const
{
    // What another game wrote since this one read the file is kept.
    Progress disk;
    bool readable = disk.Load(path);
    if (disk.damaged)
    {
        Regular_File old(path, true);
        std::string text;
        Safe_File backup;
        if (old.Read_All(text, MAX_FILE_SIZE * 1024) && !backup.Write(path + BACKUP_SUFFIX, text))
        {
            reason = backup.reason;
            return false;
        }
    }
    Progress merged = *this;
    if (readable)
    {
        merged.furthest_level = std::max(furthest_level, disk.furthest_level);
        merged.best_score = std::max(best_score, disk.best_score);
        if (!movie_recorded && disk.movie_level != NO_MOVIE)
        {
            merged.movie_level = disk.movie_level;
            merged.movie_length = disk.movie_length;
            merged.movie_checksum = disk.movie_checksum;
            merged.movie_start = disk.movie_start;
        }
        for (const std::string& line : disk.other_lines)
            if (std::find(merged.other_lines.begin(), merged.other_lines.end(), line) == merged.other_lines.end())
                merged.other_lines.push_back(line);
    }

    std::ostringstream text;
    text << HEADER << "\n";
    text << "level " << merged.furthest_level << "\n";
    text << "best " << merged.best_score << "\n";
    if (merged.movie_level != NO_MOVIE)
        text << "movie " << merged.movie_level << " " << merged.movie_length << " " << merged.movie_checksum << " "
             << merged.movie_start.lives << " " << merged.movie_start.eggs << " " << merged.movie_start.points << "\n";
    for (const std::string& line : merged.other_lines)
        text << line << "\n";
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
    movie_recorded = true;
}

bool Progress::Is_Recorded_Movie(int level, const int* words, int length) const
{
    return movie_level != NO_MOVIE && level == movie_level && length == movie_length &&
           Checksum(words, length) == movie_checksum;
}
