#ifndef BLUEJAY_PROGRESS_H
#define BLUEJAY_PROGRESS_H

#include <string>
#include <vector>

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
//
// Lines of kinds this game does not know (a later version's) are skipped and
// written back as they were; a line of a known kind with numbers out of
// range is skipped. Windows line ends read like any other. A file that is not
// of this shape at all counts as no progress, and is kept as
// progress.txt.bak before it is replaced. Each save first reads the file
// again and merges what another game wrote since: the further level, the
// better score, and its movie unless this game recorded one.
// The hero's lives, eggs and points as a run begins.
struct Run_Start
{
    int lives = 0;
    int eggs = 0;
    int points = 0;
};

class Progress
{
public:
    static constexpr int NO_MOVIE = -1;
    // The first line of the file, which marks it as ours.
    static const char* const HEADER;
    // The file's name in the user's data folder.
    static const char* const FILE_NAME;
    // The end of the name a damaged file is kept under.
    static const char* const BACKUP_SUFFIX;

    int furthest_level = 0;
    int best_score = 0;
    // The recorded movie: its level, its length and the checksum of its
    // words; movie_level is NO_MOVIE when the player has recorded none.
    int movie_level = NO_MOVIE;
    int movie_length = 0;
    unsigned int movie_checksum = 0;
    Run_Start movie_start;
    // The lines of other kinds, kept in their order.
    std::vector<std::string> other_lines;
    // The file was there but not ours (or had a bad line): kept before it
    // is written over.
    bool damaged = false;
    // A movie was recorded since the file was read.
    bool movie_recorded = false;

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
};

#endif
