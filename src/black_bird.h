#ifndef BLUEJAY_BLACK_BIRD_H
#define BLUEJAY_BLACK_BIRD_H

#include "character.h"

// The commonest enemy: a bird that hops along the platforms and turns at
// walls. One kind stands and shouts, calling the mosquitoes; another leaps to
// random heights. Two stomps beat it.
class Black_Bird : public Character
{
public:
    static constexpr int NORMAL = 1;
    static constexpr int SHOUT = 2;
    static constexpr int LEAP = 3;
    static constexpr int HOP_HEIGHT = 8;
    static constexpr int HURT_TICKS = 90;
    static constexpr int SHOUT_TICKS = 12;

    int mode;
    int target_y;
    bool hurt_counted;
    bool stopped;

    Black_Bird();
    void Process(Application& application, Level& level) override;
    int Get_Points() override;
};

#endif
