#ifndef BLUEJAY_SWITCH_H
#define BLUEJAY_SWITCH_H

#include "character.h"

// A button on the ground that the hero stomps. Pressed once, it sends its
// level signal once: lower the pipes, raise them, or (the final switch)
// destroy the master ecto, which wins the game.
class Switch : public Character
{
public:
    static constexpr int PIPE = 1;
    static constexpr int REVERSE_PIPE = 2;
    static constexpr int NO_ECTO = 3;

    int kind;
    bool activated;

    Switch();
    void Process(Application& application, Level& level) override;
};

#endif
