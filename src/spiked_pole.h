#ifndef BLUEJAY_SPIKED_POLE_H
#define BLUEJAY_SPIKED_POLE_H

#include "character.h"

// A spike that thrusts down on a pole at a fixed rhythm, with a thud: 23
// ticks only the point shows, then 23 ticks it is pushed down by three pole
// pieces. Its shape grows with the pole. It cannot be defeated.
class Spiked_Pole : public Character
{
public:
    static constexpr int MAX_HEIGHT = 3;
    static constexpr unsigned int RHYTHM_TICKS = 23;

    bool extended;

    Spiked_Pole();
    void Get_Bump_Map(Rectangle& result, int number, Application& application) override;
    void Process(Application& application, Level& level) override;
};

#endif
