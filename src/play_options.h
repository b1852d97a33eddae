#ifndef BLUEJAY_PLAY_OPTIONS_H
#define BLUEJAY_PLAY_OPTIONS_H

// The player's choices that soften or show more of play, all off by
// default so that play is as it always was:
//
//   [assist]
//   speed = 100           # 50 to 100 (steps of 10): the tick lasts 30 ms * 100 / speed
//   endless_flight = no   # flying never costs strength
//   invincible = no       # creatures and hazards cost nothing; a fall costs no life
//   no_ghost_push = no    # ghosts never push the hero back
//   [display]
//   timer = no            # the level's and the game's time on the status line
//   status_backing = no   # a dark band under the status line
struct Play_Options
{
    static constexpr int MIN_SPEED = 50;
    static constexpr int MAX_SPEED = 100;
    static constexpr int SPEED_STEP = 10;
    // The tick of play at full speed, in milliseconds.
    static constexpr int FULL_SPEED_TICK_MS = 30;

    int speed = MAX_SPEED;
    bool endless_flight = false;
    bool invincible = false;
    bool no_ghost_push = false;
    bool show_timer = false;
    bool status_backing = false;

    // Whether any option that makes play easier is on.
    bool Any_Assist() const { return speed != MAX_SPEED || endless_flight || invincible || no_ghost_push; }

    // The period the timer is asked for: a slower game has longer ticks,
    // each of which computes exactly what a tick at full speed does.
    int Tick_Period() const
    {
        int chosen = speed < MIN_SPEED ? MIN_SPEED : (speed > MAX_SPEED ? MAX_SPEED : speed);
        return FULL_SPEED_TICK_MS * MAX_SPEED / chosen;
    }
};

#endif
