#ifndef BLUEJAY_GHOST_H
#define BLUEJAY_GHOST_H

#include <allegro.h>

#include "character.h"

// A translucent spirit that drifts toward the hero while in view and every
// 150 of its ticks jumps to a random place across the level. It vanishes
// when the final switch is pressed.
class Ghost : public Character
{
public:
    static constexpr int JUMP_TICKS = 150;
    static constexpr int DRIFT_TICKS = 4;

    Ghost();
    void Process(Application& application, Level& level) override;
};

// Draws a spirit translucently through its scratch picture: mirrored on even
// ticks, so that it flickers.
void Draw_Spirit(Application& application, BITMAP* scratch, int picture, int timer, int weight, int x, int y);

#endif
