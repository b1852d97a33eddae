#ifndef BLUEJAY_ROCK_H
#define BLUEJAY_ROCK_H

#include "character.h"

// A boulder that falls straight down through everything, turning as it
// falls, and hurts the hero on any touch. A plain rock starts as soon as its
// columns are in view; a local rock waits until it is wholly in view.
class Rock : public Character
{
public:
    // A sixteenth of a turn a tick, in the library's 256-to-a-turn angles.
    static constexpr int TURN_STEP = 16;

    bool local;
    int angle;

    Rock();
    void Process(Application& application, Level& level) override;
};

#endif
