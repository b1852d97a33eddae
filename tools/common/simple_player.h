#pragma once

// A simple player, the way a newcomer plays a level the first time: Right
// held all the way, and now and then a jump held for a natural while (150 to
// 600 ms) or, for the bolder one, a flight. Enter closes a message. Its
// choices come from its own generator, so the game's random numbers stay the
// game's.

#include <random>

class Simple_Player
{
public:
    // The one who only jumps, and the one who also flies.
    static constexpr int JUMPER = 1;
    static constexpr int FLYER = 2;
    // A natural jump holds Up for 5 to 20 ticks (150 to 600 ms).
    static constexpr int SHORTEST_JUMP = 5;
    static constexpr int LONGEST_JUMP = 20;
    static constexpr int SHORTEST_FLIGHT = 5;
    static constexpr int LONGEST_FLIGHT = 40;
    // Ticks between letting go and the next press.
    static constexpr int SHORTEST_PAUSE = 1;
    static constexpr int LONGEST_PAUSE = 15;
    // One press in this many is a flight, for the flyer.
    static constexpr int FLIGHT_CHANCE = 3;

    int kind;
    std::mt19937 random;
    // What the current press holds, and for how many more ticks.
    int pressed;
    int held_for;
    // How long the current press was meant to last, in ticks.
    int press_length;
    int pause;
    bool enter_held;

    Simple_Player(int kind, unsigned seed);
    // The signal word of the next tick; a shown message is closed.
    int Next_Word(bool message_showing);

private:
    int Between(int low, int high);
};
