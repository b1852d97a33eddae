#ifndef BLUEJAY_CLAM_H
#define BLUEJAY_CLAM_H

#include "character.h"

// A clam that opens and closes its mouth. It bites the hero from the side
// and cannot be beaten: a stomp only bounces the hero off it.
class Clam : public Character
{
public:
    Clam();
    void Process(Application& application, Level& level) override;
};

#endif
