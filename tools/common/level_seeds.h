#pragma once

// The route's random numbers: they start again from a base + the level's
// number as each level begins, the first one too, so that a change to one
// level never changes how the creatures of the later ones move. The
// campaign test and the runner's --seed-each-level play the route so.
class Level_Seeds
{
public:
    explicit Level_Seeds(unsigned int base) : base(base) {}
    // Called before each tick of play with the level it plays.
    void Before_Tick(int level);

private:
    unsigned int base;
    int seeded_level = -1;
};
