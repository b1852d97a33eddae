#pragma once

// The input a tool plays, one signal word per tick, read from a readable key
// script or from a movie file. The runner, the benchmark, the fuzzers and the
// tests all read scripts through this one reader.
//
// A key script is lines of a tick count and the keys held for that many
// ticks, e.g. "12 right up"; the key names are left right up down fly pause
// enter quit delete and none; '#' starts a comment and a "level N" line names
// the level the script starts on.

#include <string>
#include <vector>

class Tick_Input
{
public:
    // The most ticks a script may hold keys for, all lines together (more
    // than three days of play), so that no script can eat the memory.
    static constexpr long MOST_TICKS = 10000000;

    // One signal word per tick, in the order read; every read adds to them.
    std::vector<int> words;
    // The level a script's "level N" line or a movie's first number names,
    // or -1 when nothing read named one.
    int level = -1;
    // Why the last read failed, as "FILE:LINE: reason".
    std::string error;

    bool Read_Script(const std::string& path);
    // The same from the script's text; name stands for the file in errors.
    bool Read_Script_Text(const std::string& text, const std::string& name);
    // The signal words of a movie file, read as the game reads them: a last
    // number with no line end after it is not a word.
    bool Read_Movie(const std::string& path);

    // The signal bits of one key name, or -1 for a name that is not a key.
    static int Key_Signal(const std::string& name);
};
