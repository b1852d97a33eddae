#ifndef BLUEJAY_GOLDENJAY_H
#define BLUEJAY_GOLDENJAY_H

#include "character.h"

// A tough golden bird hidden in its bush until the hero comes close; then it
// takes off and climbs away in long zigzags. Six hits beat it.
class Goldenjay : public Character
{
public:
    static constexpr int IDLE = 1;
    static constexpr int ATTACKING = 2;
    static constexpr int HURT_TICKS = 30;
    // The hero's centre must come closer than this to wake it.
    static constexpr int WAKE_DISTANCE = 32;
    static constexpr int ZIGZAG_TICKS = 120;
    // Where its bush stands, from its own start position.
    static constexpr int BUSH_OFFSET_X = 24;
    static constexpr int BUSH_OFFSET_Y = 16;

    int mode;
    bool hurt_counted;

    Goldenjay();
    void Process(Application& application, Level& level) override;
    int Get_Points() override;
};

#endif
