#ifndef BLUEJAY_SUPER_MOSQUITO_H
#define BLUEJAY_SUPER_MOSQUITO_H

#include "character.h"

// The boss of its level: it patrols the first screen, dives at the hero and,
// at its last strength, flies off to call the other mosquitoes. Beaten, it
// brings the cement blocks down and strikes every mosquito in view.
class Super_Mosquito : public Character
{
public:
    static constexpr int HOVERING = 1;
    static constexpr int ATTACKING = 2;
    static constexpr int CALLING_MOSQUITOS = 3;
    static constexpr int FULL_STRENGTH = 3;
    static constexpr int HURT_TICKS = 30;
    static constexpr int DIVE_CHANCE = 25;

    int mode;
    bool hurt_counted;
    int home_x;
    int home_y;
    bool returning;

    Super_Mosquito();
    void Process(Application& application, Level& level) override;
    void Reset(bool full_reset) override;
    int Get_Points() override;
};

#endif
