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
        else if (name == "time" || name == "assisted_time" || name == "eggs" || name == "assisted_eggs")
            sound = Read_Level_Line(name, fields, entry);
        else if (name == "game_time" || name == "assisted_game_time")
        {
            long long& ticks = entry.best_game_ticks[name == "game_time" ? PLAIN : ASSISTED];
            sound = fields >> ticks && ticks > 0;
        }
        else if (name == "assisted_best")
            sound = fields >> entry.assisted_best_score && entry.assisted_best_score >= 0;
        else if (name == "movie_assists")
        {
            Play_Options& assists = entry.movie_assists;
            int flight = 0, invincible = 0, no_push = 0;
            sound = fields >> assists.speed >> flight >> invincible >> no_push && assists.speed >= Play_Options::MIN_SPEED &&
                    assists.speed <= Play_Options::MAX_SPEED && flight >= 0 && flight <= 1 && invincible >= 0 &&
                    invincible <= 1 && no_push >= 0 && no_push <= 1;
            assists.endless_flight = flight == 1;
            assists.invincible = invincible == 1;
            assists.no_ghost_push = no_push == 1;
        }
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
            merged.movie_assists = disk.movie_assists;
        }
        // The better of each level's times and eggs, and of the games'.
        auto fewer = [](auto mine, auto theirs) { return mine == 0 || (theirs != 0 && theirs < mine) ? theirs : mine; };
        for (int sheet = PLAIN; sheet < SHEETS; sheet++)
        {
            for (int level = 0; level < LEVELS; level++)
            {
                Level_Best& best = merged.level_best[sheet][level];
                const Level_Best& other = disk.level_best[sheet][level];
                best.ticks = fewer(best.ticks, other.ticks);
                best.eggs = std::max(best.eggs, other.eggs);
                best.all_eggs = best.all_eggs || other.all_eggs;
            }
            merged.best_game_ticks[sheet] = fewer(merged.best_game_ticks[sheet], disk.best_game_ticks[sheet]);
        }
        merged.assisted_best_score = std::max(assisted_best_score, disk.assisted_best_score);
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
    const Play_Options& assists = merged.movie_assists;
    if (merged.movie_level != NO_MOVIE && assists.Any_Assist())
        text << "movie_assists " << assists.speed << " " << int(assists.endless_flight) << " "
             << int(assists.invincible) << " " << int(assists.no_ghost_push) << "\n";
    const char* prefixes[SHEETS] = {"", "assisted_"};
    for (int sheet = PLAIN; sheet < SHEETS; sheet++)
    {
        for (int level = 0; level < LEVELS; level++)
        {
            const Level_Best& best = merged.level_best[sheet][level];
            if (best.ticks > 0)
                text << prefixes[sheet] << "time " << level << " " << best.ticks << "\n";
            if (best.eggs > 0 || best.all_eggs)
                text << prefixes[sheet] << "eggs " << level << " " << best.eggs << " " << int(best.all_eggs) << "\n";
        }
        if (merged.best_game_ticks[sheet] > 0)
            text << prefixes[sheet] << "game_time " << merged.best_game_ticks[sheet] << "\n";
    }
    if (merged.assisted_best_score > 0)
        text << "assisted_best " << merged.assisted_best_score << "\n";
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
