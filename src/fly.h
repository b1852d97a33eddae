#ifndef BLUEJAY_FLY_H
#define BLUEJAY_FLY_H

#include "character.h"

// A flying insect. A plain fly crosses the level in a straight line; a
// hunting fly dives at the hero, lands, climbs back up and dives again,
// eating any cherry it lands on. One stomp beats it.
class Fly : public Character
{
public:
    static constexpr int RISING = 1;
    static constexpr int ATTACKING = 2;
    // How far above the hero a hunting fly climbs after landing.
    static constexpr int CLIMB_ABOVE_HERO = 80;

    bool hunting;
    int mode;
    int target_y;

    Fly();
    void Process(Application& application, Level& level) override;

private:
    void Hunt(Application& application, Level& level);
};

#endif
