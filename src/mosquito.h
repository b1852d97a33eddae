#ifndef BLUEJAY_MOSQUITO_H
#define BLUEJAY_MOSQUITO_H

#include "character.h"

// A mosquito hovers in place and now and then darts at the hero. While the
// level's attack signal is raised it creeps toward the hero unseen, even out
// of view. It ignores the scenery.
class Mosquito : public Character
{
public:
    static constexpr int IDLE = 1;
    static constexpr int ATTACKING = 2;
    // One chance in this many per tick to start a dart, and to end one.
    static constexpr int DART_CHANCE = 50;
    static constexpr int CALM_CHANCE = 20;

    int mode;

    Mosquito();
    void Process(Application& application, Level& level) override;

    // Sets the directions toward a point, keeping an axis that already
    // matches.
    static void Aim(Character& character, int target_x, int target_y);
};

#endif
