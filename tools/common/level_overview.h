#pragma once

// A picture of a whole level, every screen: the background tiled, then the
// platforms and the characters where they stand, markers included.

#include <allegro.h>

class Application;
class Level;

class Level_Overview
{
public:
    // A new bitmap the caller destroys, or null if none could be made; the
    // level's top row starts at its top edge.
    static BITMAP* Draw(Application& game, Level& level);
    // The level y that the picture's top edge shows.
    static int Top(const Level& level);
};
