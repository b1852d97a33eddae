#ifndef BLUEJAY_LEVEL_TALLY_H
#define BLUEJAY_LEVEL_TALLY_H

#include <cstddef>

struct BITMAP;
class Level;

// What a level held and what the hero made of it.
struct Tally_Counts
{
    int ticks = 0;
    int cherries = 0;
    int all_cherries = 0;
    int eggs = 0;
    int all_eggs = 0;
    int defeated = 0;
    int all_creatures = 0;
    int lives_lost = 0;

    void Add(const Tally_Counts& other);
};

// The game's own clock and score sheet: the ticks played on the current
// level and in the whole game (pauses and menus are not played ticks), the
// lives lost, and the tally that shows over the top of the next level when
// the hero leaves one through a pipe, and the level's name as it begins. It
// only looks at the levels and draws over the picture: no tick of play
// depends on it.
class Level_Tally
{
public:
    // A tick of play lasts this long at full speed; the clocks count game
    // time, whatever the speed.
    static constexpr int MS_PER_TICK = 30;
    // The tally shows for four seconds, the level's name for three.
    static constexpr int SHOW_MS = 4000;
    static constexpr int NAME_MS = 3000;
    // A key sends the tally away only once it has been seen this long, so
    // that keys held from the last level, or the Enter that closes the new
    // level's message, do not.
    static constexpr int SEEN_BEFORE_DISMISS_MS = 500;
    // Room for a time "mmm:ss.hh" and for a line of the tally.
    static constexpr int TIME_TEXT = 24;
    static constexpr int LINE_TEXT = 64;

    int level_ticks = 0;
    long long game_ticks = 0;
    int lives_lost = 0;
    // The counts of the levels left so far in this game.
    Tally_Counts game;
    // The tally over the picture and how many more ticks it shows.
    Tally_Counts shown;
    int show_ticks = 0;
    int seen_ticks = 0;
    int dismiss_after_ticks = 0;
    // The name of the level just begun, and how long it still shows.
    char name[LINE_TEXT] = {};
    int name_ticks = 0;

    // A new game: every count at nought.
    void Start_Game();
    // One played tick; died is whether the hero lost a life in it.
    void Count_Tick(bool died);
    // What the level holds now: the cherries eaten, the eggs grabbed and the
    // creatures beaten, each of all there are, with this level's time and
    // lives lost.
    Tally_Counts Count(Level& level) const;
    // The hero left the level through a pipe: its tally shows for four
    // seconds of ticks of tick_ms, and the next level's clock starts.
    Tally_Counts Leave_Level(Level& level, int tick_ms);
    // The whole game so far, the level being played included.
    Tally_Counts Game_Total(Level& level) const;
    // A level begins: its name shows for a while.
    void Show_Name(const char* level_name, int tick_ms);
    // A key pressed: hides the tally once it has been seen a moment.
    void Key_Pressed();
    // Draws the tally and the name over the canvas and counts their ticks
    // down.
    void Draw(BITMAP* canvas);
    // The whole game's tally, in the lines under the ending text.
    static void Draw_Counts(BITMAP* canvas, const Tally_Counts& counts, const char* title, int top);
    // The same in three short lines, for the foot of the ending text.
    static void Draw_Game_Summary(BITMAP* canvas, const Tally_Counts& counts, int top);

    // Ticks as minutes:seconds.hundredths.
    static void Format_Time(long long ticks, char* buffer, std::size_t size);
    // Whether a creature of this type can be beaten by the hero.
    static bool Is_Creature(int type);
};

#endif
