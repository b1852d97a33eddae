#ifndef BLUEJAY_MASTER_ECTO_H
#define BLUEJAY_MASTER_ECTO_H

#include "character.h"

// The master of the ghosts. It chases the hero always, in view or not, and
// whenever it drops out of view it is put back somewhere ahead of the hero.
class Master_Ecto : public Character
{
public:
    bool repositioned;

    Master_Ecto();
    void Process(Application& application, Level& level) override;
};

#endif
