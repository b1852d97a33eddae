#ifndef BLUEJAY_EGG_H
#define BLUEJAY_EGG_H

#include "character.h"

// An egg to grab: the hero's head takes it, facing it, for three strength
// and a bonus at the end of the game. A grabbed egg ("hurt") is gone until
// the demo starts over.
class Egg : public Character
{
public:
    Egg();
    void Process(Application& application, Level& level) override;
    void Reset(bool full_reset) override;
};

#endif
