#ifndef BLUEJAY_STOP_ATTACK_OBJECT_H
#define BLUEJAY_STOP_ATTACK_OBJECT_H

#include "character.h"

// An invisible marker: while it is in view the mosquitoes' attack is called
// off.
class Stop_Attack_Object : public Character
{
public:
    Stop_Attack_Object();
    void Process(Application& application, Level& level) override;
};

#endif
