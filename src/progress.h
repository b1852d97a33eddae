#ifndef BLUEJAY_PROGRESS_H
#define BLUEJAY_PROGRESS_H

#include <istream>
#include <string>

#include "play_options.h"

// What the game remembers of the player's games between runs, kept in the
// user's data folder: the furthest level reached through a pipe, the best
// score, and the fingerprint of the movie the player last recorded with the
// hero's lives, eggs and points when its run began (so that the title knows,
// after a restart, that the movie is the player's own run, and replays it
// under the rules it was played by, from the same status). The file is plain
// text:
//
//   bluejay progress 1
//   level 9
//   best 12345
//   movie 4 1800 305419896 3 0 150
//   movie_assists 70 1 0 0
//   time 3 2417
//   eggs 3 2 1
//   game_time 81234
//   assisted_best 4100
//   assisted_time 5 3120
//   assisted_eggs 5 1 0
//   assisted_game_time 90210
//
// movie_assists: the speed, endless flight, invincibility and no ghost
// pushes the movie was recorded with (absent: none). time and eggs: per
// level, the fewest ticks from its start to a pipe out, and the most eggs
// grabbed there with 1 when that was all of them; game_time: the fewest
// ticks of a whole game won. The assisted_ lines are the same for games
// played with an assist on, kept apart from the others.
//
// A file that is not of this shape, or holds numbers out of range, counts as
// no progress at all.
// The hero's lives, eggs and points as a run begins.
struct Run_Start
{
    int lives = 0;
    int eggs = 0;
    int points = 0;
};

// A level's best: the fewest ticks it took (0: never left through a pipe)
// and the most eggs grabbed there, all_eggs when they were all it holds.
struct Level_Best
{
    int ticks = 0;
    int eggs = 0;
    bool all_eggs = false;
};

class Progress
{
public:
    static constexpr int NO_MOVIE = -1;
    static constexpr int LEVELS = 120;
    // The two sheets of bests: games played as they are, and with an assist.
    static constexpr int PLAIN = 0;
    static constexpr int ASSISTED = 1;
    static constexpr int SHEETS = 2;
    // The first line of the file, which marks it as ours.
    static const char* const HEADER;
    // The file's name in the user's data folder.
    static const char* const FILE_NAME;

    int furthest_level = 0;
    int best_score = 0;
    // The recorded movie: its level, its length and the checksum of its
    // words; movie_level is NO_MOVIE when the player has recorded none.
    int movie_level = NO_MOVIE;
    int movie_length = 0;
    unsigned int movie_checksum = 0;
    Run_Start movie_start;
    // The assists the movie was recorded with.
    Play_Options movie_assists;
    Level_Best level_best[SHEETS][LEVELS];
    long long best_game_ticks[SHEETS] = {0, 0};
    int assisted_best_score = 0;

    // Reads the file; on anything unreadable or foreign it leaves no
    // progress (every field at its default) and returns false.
    bool Load(const std::string& path);
    // Writes the file through the game's safe write; false (with reason set)
    // when it could not be written.
    bool Save(const std::string& path, std::string& reason) const;

    // A checksum of a movie's words, the same on every machine.
    static unsigned int Checksum(const int* words, int length);
    void Remember_Movie(int level, const int* words, int length, const Run_Start& start);
    // True when these are the words of the movie the player recorded.
    bool Is_Recorded_Movie(int level, const int* words, int length) const;
    // A level left through a pipe after ticks, with eggs grabbed of
    // all_eggs; true when it beat the best time or the most eggs.
    bool Note_Level(int level, bool assisted, int ticks, int eggs, int all_eggs);
    // A game won in ticks; true when it is the fastest.
    bool Note_Game(bool assisted, long long ticks);

private:
    // A time or eggs line, its name already read.
    static bool Read_Level_Line(const std::string& name, std::istream& fields, Progress& read);
};

#endif
