#ifndef BLUEJAY_BOILING_MUD_H
#define BLUEJAY_BOILING_MUD_H

#include "character.h"

// A patch of mud that bubbles in place and takes all the hero's strength on
// any touch but a landing.
class Boiling_Mud : public Character
{
public:
    static constexpr int BUBBLE_TICKS = 4;

    bool mirrored;

    Boiling_Mud();
    void Process(Application& application, Level& level) override;
};

#endif
