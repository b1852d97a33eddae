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
constexpr std::streamsize MAX_FILE_SIZE = 65536;
// The checksum's multiplier and start (the FNV-1a hash of the words' bytes).
constexpr unsigned int CHECKSUM_START = 2166136261u;
constexpr unsigned int CHECKSUM_PRIME = 16777619u;
constexpr int BYTE_BITS = 8;
constexpr int BYTES_PER_WORD = 4;
constexpr unsigned int BYTE_MASK = 0xff;
} // namespace

bool Progress::Read_Level_Line(const std::string& name, std::istream& fields, Progress& read)
{
    int sheet = name.compare(0, 9, "assisted_") == 0 ? ASSISTED : PLAIN;
    int level = -1;
    if (!(fields >> level) || level < 0 || level >= LEVELS)
        return false;
    Level_Best& best = read.level_best[sheet][level];
    if (name == "time" || name == "assisted_time")
        return fields >> best.ticks && best.ticks > 0;
    int all = 0;
    bool sound = fields >> best.eggs >> all && best.eggs >= 0 && all >= 0 && all <= 1;
    best.all_eggs = all == 1;
    return sound;
}

bool Progress::Note_Level(int level, bool assisted, int ticks, int eggs, int all_eggs)
{
    if (level < 0 || level >= LEVELS || ticks <= 0)
        return false;
    Level_Best& best = level_best[assisted ? ASSISTED : PLAIN][level];
    bool better = false;
    if (best.ticks == 0 || ticks < best.ticks)
    {
        best.ticks = ticks;
        better = true;
    }
    if (eggs > best.eggs)
    {
        best.eggs = eggs;
        better = true;
    }
    if (all_eggs > 0 && eggs == all_eggs && !best.all_eggs)
    {
        best.all_eggs = true;
        better = true;
    }
    return better;
}

bool Progress::Note_Game(bool assisted, long long ticks)
{
    long long& best = best_game_ticks[assisted ? ASSISTED : PLAIN];
    if (ticks <= 0 || (best > 0 && ticks >= best))
        return false;
    best = ticks;
    return true;
}

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
        else if (name == "time" || name == "assisted_time" || name == "eggs" || name == "assisted_eggs")
            sound = Read_Level_Line(name, fields, read);
        else if (name == "game_time" || name == "assisted_game_time")
        {
            long long& ticks = read.best_game_ticks[name == "game_time" ? PLAIN : ASSISTED];
            sound = fields >> ticks && ticks > 0;
        }
        else if (name == "assisted_best")
            sound = fields >> read.assisted_best_score && read.assisted_best_score >= 0;
        else if (name == "movie_assists")
        {
            Play_Options& assists = read.movie_assists;
            int flight = 0, invincible = 0, no_push = 0;
            sound = fields >> assists.speed >> flight >> invincible >> no_push && assists.speed >= Play_Options::MIN_SPEED &&
                    assists.speed <= Play_Options::MAX_SPEED && flight >= 0 && flight <= 1 && invincible >= 0 &&
                    invincible <= 1 && no_push >= 0 && no_push <= 1;
            assists.endless_flight = flight == 1;
            assists.invincible = invincible == 1;
            assists.no_ghost_push = no_push == 1;
        }
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
    const Play_Options& assists = movie_assists;
    if (movie_level != NO_MOVIE && assists.Any_Assist())
        text << "movie_assists " << assists.speed << " " << int(assists.endless_flight) << " "
             << int(assists.invincible) << " " << int(assists.no_ghost_push) << "\n";
    const char* prefixes[SHEETS] = {"", "assisted_"};
    for (int sheet = PLAIN; sheet < SHEETS; sheet++)
    {
        for (int level = 0; level < LEVELS; level++)
        {
            const Level_Best& best = level_best[sheet][level];
            if (best.ticks > 0)
                text << prefixes[sheet] << "time " << level << " " << best.ticks << "\n";
            if (best.eggs > 0 || best.all_eggs)
                text << prefixes[sheet] << "eggs " << level << " " << best.eggs << " " << int(best.all_eggs) << "\n";
        }
        if (best_game_ticks[sheet] > 0)
            text << prefixes[sheet] << "game_time " << best_game_ticks[sheet] << "\n";
    }
    if (assisted_best_score > 0)
        text << "assisted_best " << assisted_best_score << "\n";
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
