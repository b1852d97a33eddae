#include "simple_player.h"

#include "application.h"

Simple_Player::Simple_Player(int kind, unsigned seed)
    : kind(kind), random(seed), pressed(0), held_for(0), press_length(0), pause(0), enter_held(false)
{
}

int Simple_Player::Between(int low, int high)
{
    return std::uniform_int_distribution<int>(low, high)(random);
}

int Simple_Player::Next_Word(bool message_showing)
{
    int word = Application::SIGNAL_RIGHT;
    if (message_showing)
    {
        // Enter counts when it goes down, so it is let go every other tick.
        enter_held = !enter_held;
        return enter_held ? word | Application::SIGNAL_START : word;
    }
    enter_held = false;
    if (held_for > 0)
    {
        held_for--;
        return word | pressed;
    }
    if (pause > 0)
    {
        pause--;
        return word;
    }
    if (kind == FLYER && Between(1, FLIGHT_CHANCE) == 1)
    {
        pressed = Application::SIGNAL_FLY;
        press_length = Between(SHORTEST_FLIGHT, LONGEST_FLIGHT);
    }
    else
    {
        pressed = Application::SIGNAL_UP;
        press_length = Between(SHORTEST_JUMP, LONGEST_JUMP);
    }
    held_for = press_length - 1;
    pause = Between(SHORTEST_PAUSE, LONGEST_PAUSE);
    return word | pressed;
}
