#pragma once

// Where simple players lose their lives in a level: the level is played many
// times from a fresh copy with a Simple_Player, and every lost life is kept
// with its place, every jump with where it took off and how it ended. The
// death-map tool draws the spots over the level's overview and counts them
// per screen, so that unfair places (a hidden pit, a blind drop, a creature
// that cannot be seen before it hits) stand out.

#include <string>
#include <vector>

#include <allegro.h>

class Application;
class Simple_Player;

class Death_Map
{
public:
    // Enough lives that a run never ends in "Game Over".
    static constexpr int MANY_LIVES = 99;
    // The size of the squares deaths are counted in on the picture.
    static constexpr int SPOT_SIZE = 16;
    static constexpr int SMALLEST_MARK = 3;
    static constexpr int LARGEST_MARK = 10;
    // A run ends when the hero gets this close to the level's right end.
    static constexpr int END_MARGIN = 64;

    struct Death
    {
        int x;
        int y;
        int player;
        // How far back (pixels) the next life started from where this one
        // was lost; NONE until the hero is back.
        int sent_back;
    };
    struct Jump
    {
        int take_off_x;
        int take_off_y;
        // The ticks the player meant to hold Up for.
        int held;
        int landing_x;
        bool died;
    };

    int level;
    int runs;
    std::vector<Death> deaths;
    std::vector<Jump> jumps;
    // The first pit after the hero's start, [pit_left, pit_right), and the
    // first cherry; -1 when the level has none.
    int pit_left;
    int pit_right;
    int cherry_x;
    // Runs in which the first cherry was eaten before the hero passed it.
    int cherry_eaten;

    explicit Death_Map(int level);

    // Plays the level once, from a fresh copy of the map file, for at most
    // the given ticks, until the hero leaves it by a pipe or reaches its
    // right end. Returns the lives lost.
    int Play(Application& game, const std::string& map_file, Simple_Player& player, long ticks);
    // The mean distance the hero was sent back per lost life, in pixels
    // (0 with no lives lost).
    double Mean_Sent_Back() const;
    // Lives lost by the player kind (0: both) in one screen column.
    int Deaths_In_Column(int column, int player) const;
    // Jumps that took off before the first pit and landed beyond it, or
    // fell into it.
    int Jumps_Clearing_Pit() const;
    int Jumps_Into_Pit() const;
    // Draws the death spots over a picture of the whole level whose top
    // edge is at level y = top: a disc per square, bigger for more deaths,
    // red for the jumper and yellow for the flyer, with the count beside it.
    void Mark(BITMAP* picture, int top) const;

private:
    void Find_Pit_And_Cherry(Application& game);
};
