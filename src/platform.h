#ifndef BLUEJAY_PLATFORM_H
#define BLUEJAY_PLATFORM_H

#include "rectangle.h"

class Application;

// One piece of a level's scenery: a block, ground, a pipe, a ledge, a wire,
// a bush, a vine, a cherry. Creatures stand on it, bump into it and (the
// hero) eat it. A few move: pipes sink and rise with the level signal and
// cement blocks fall when the super mosquito is beaten.
class Platform
{
public:
    static constexpr int PLATFORM = 1;   // solid
    static constexpr int ITEM = 2;       // eaten by the hero
    static constexpr int BACKGROUND = 3; // scenery, never collides
    // The picture of a platform whose type is not known: nothing is drawn
    // and it has no shape.
    static constexpr int NO_BITMAP = -1;

    int type;
    int x;
    int y;
    int bitmap;
    int kind;
    bool taken;
    bool has_bump_map;
    Rectangle bump_map;
    int timer;
    int start_x;
    int start_y;

    Platform();

    // Takes the start position, picture and kind from the type.
    void Initialize();
    void Load_Bump_Map(const char* file_name);
    void Get_Bump_Map(Rectangle& result, Application& application);
    void Process(Application& application, int scroll_x, int scroll_y);
};

#endif
