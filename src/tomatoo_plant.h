#ifndef BLUEJAY_TOMATOO_PLANT_H
#define BLUEJAY_TOMATOO_PLANT_H

#include "character.h"

// A plant head that waits at its place and, when the hero passes close by,
// now and then shoots up on a long stem, stays up about a second and drops
// back. Its shape grows with the stem. It cannot be defeated.
class Tomatoo_Plant : public Character
{
public:
    // Ticks the head stays up, and the least number of ticks between shots.
    static constexpr int UP_TICKS = 30;
    static constexpr int RELOAD_TICKS = 60;
    // How far from its sides the hero's centre must be for it to shoot.
    static constexpr int REACH = 16;
    // One chance in this many per tick.
    static constexpr int CHANCE = 50;
    static constexpr int SHORT_STEM = 3;
    static constexpr int LONG_STEM = 30;

    bool shooting_up;
    int stem_count;
    bool extended;

    Tomatoo_Plant();
    void Get_Bump_Map(Rectangle& result, int number, Application& application) override;
    void Process(Application& application, Level& level) override;
};

#endif
