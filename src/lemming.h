#ifndef BLUEJAY_LEMMING_H
#define BLUEJAY_LEMMING_H

#include "character.h"

// A small walker. It walks along solid ground, jumps when it runs into a
// wall, turns at the ends of the level, falls off edges, and throws any
// lying stone it walks into at the hero. One stomp beats it.
class Lemming : public Character
{
public:
    static constexpr int WALKING = 1;
    static constexpr int JUMPING = 2;
    static constexpr int FALLING = 3;
    static constexpr int MAX_JUMP_HEIGHT = 64;
    // How high above its head it carries a stone.
    static constexpr int CARRY_HEIGHT = 12;

    int state;
    int jump_top;
    bool carrying_rock;
    int carried_rock;

    Lemming();
    void Process(Application& application, Level& level) override;

private:
    Character* Carried_Rock(Level& level);
    void Pick_Up_Rock(Application& application, Level& level);
};

#endif
