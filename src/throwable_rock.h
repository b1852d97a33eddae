#ifndef BLUEJAY_THROWABLE_ROCK_H
#define BLUEJAY_THROWABLE_ROCK_H

#include "character.h"

// A stone that lies harmless until a lemming picks it up and throws it at
// the hero; then it flies on in a straight line.
class Throwable_Rock : public Character
{
public:
    bool thrown;

    Throwable_Rock();
    void Process(Application& application, Level& level) override;
};

#endif
