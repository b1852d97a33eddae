#ifndef BLUEJAY_SWOOPER_H
#define BLUEJAY_SWOOPER_H

#include "character.h"

// A bird that crosses the level in a straight line, chirping, and swoops to
// the hero's height when it meets the hero face to face.
class Swooper : public Character
{
public:
    static constexpr int AIM_DISTANCE = 80;
    static constexpr int CHIRP_TICKS = 15;

    Swooper();
    void Process(Application& application, Level& level) override;
    int Get_Points() override;
};

#endif
