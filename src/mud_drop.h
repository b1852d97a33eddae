#ifndef BLUEJAY_MUD_DROP_H
#define BLUEJAY_MUD_DROP_H

#include "character.h"

// A blob of mud that leaps straight up from its place and falls back,
// wobbling sideways, over and over.
class Mud_Drop : public Character
{
public:
    static constexpr int MAX_JUMP_HEIGHT = 212;
    static constexpr int WOBBLE_TICKS = 4;

    int top_y;

    Mud_Drop();
    void Process(Application& application, Level& level) override;
};

#endif
