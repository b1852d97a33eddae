#ifndef BLUEJAY_BLUEJAY_H
#define BLUEJAY_BLUEJAY_H

#include "character.h"

class Platform;

// The hero. On the ground it stands and can only turn; it moves sideways
// only in the air (jumping, flying, gliding), always the way it faces, 4
// pixels a tick. It decides every contact with items and creatures from its
// own side: it eats, grabs, stomps, swats and gets hurt.
class Bluejay : public Character
{
public:
    static constexpr int IDLE = 1;
    static constexpr int JUMPING = 2;
    static constexpr int FLYING = 3;
    static constexpr int GLIDING = 4;
    static constexpr int GOING_DOWN_PIPE = 5;

    static constexpr int HEAD = 0;
    static constexpr int BODY = 1;
    static constexpr int TAIL = 2;

    static constexpr int MAX_JUMP_HEIGHT = 48;
    static constexpr int MAX_STRENGTH = 5;
    // A new hero, and one back after a lost life, has this much strength;
    // a new game starts with this many lives.
    static constexpr int STARTING_STRENGTH = 3;
    static constexpr int STARTING_LIVES = 3;
    // Ticks of blinking after every hurt or scare.
    static constexpr int HURT_TICKS = 90;
    // Every this many ticks of flight cost one strength.
    static constexpr unsigned int FLIGHT_TICKS_PER_STRENGTH = 900;

    bool went_down_pipe;
    int pipe_screen;
    bool local_pipe;
    int lives;
    int eggs;
    int points;
    bool dead;
    int state;
    int jump_top;
    int pipe_x;
    int pipe_y;
    unsigned int flight_timer;
    bool jump_released;
    // Only for the player's eyes and ears: the fly key was up in the last
    // tick, and how many more ticks the hearts flash after a flight refused
    // for want of strength.
    bool fly_released;
    int refused_flash_ticks;
    static constexpr int REFUSED_FLASH_TICKS = 20;

    Bluejay();

    void Get_Bump_Map(Rectangle& result, int number, Application& application) override;
    void Process(Application& application, Level& level) override;
    void Reset(bool full_reset) override;

    // Hands this hero's strength, lives, eggs and score to the hero of the
    // level it enters through a pipe.
    void Copy_Status(Bluejay& other);

private:
    // The flags of one tick.
    struct Contacts
    {
        bool on_ground;
        bool head_blocked;
        bool blocked_left;
        bool blocked_right;
        bool turned;
        int below; // platform under the body, or NO_PLATFORM_HIT
        bool corner_top_left;
        bool corner_top_right;
        bool corner_bottom_left;
        bool corner_bottom_right;
    };

    void Find_Platforms(Application& application, Level& level, Contacts& contacts);
    void Read_Signals(Application& application, Level& level, Contacts& contacts);
    void Act_On_State(Application& application, Contacts& contacts);
    void Eat(Application& application, Level& level);
    void Eat_Platform(Application& application, Platform& platform);
    void Meet_Body_Contact(Application& application, Level& level);
    void Grab_Egg(Application& application, Level& level);
    void Swat_With_Tail(Application& application, Level& level, const Contacts& contacts);
    void Meet_Ghost(Application& application, Level& level);
    // Everything at once: a spike, a snapping plant, boiling mud.
    void Lose_All_Strength(Application& application);
    void Get_Hurt(Application& application);
    void Hit_Creature(Application& application, Character& creature);
    void Apply_Corners(Contacts& contacts);
    void Move(Level& level, const Contacts& contacts);
    void Draw(Application& application, Level& level);
};

#endif
