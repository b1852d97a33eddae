#include "bluejay.h"

#include <algorithm>
#include <cstdlib>

#include "application.h"
#include "level.h"
#include "platform.h"
#include "spiked_pole.h"
#include "tomatoo_plant.h"

namespace
{
// Creatures that cannot be stomped or swatted.
bool Is_Hard(int type)
{
    return type == Level::ROCK || type == Level::THROWABLE_ROCK || type == Level::TOMATOO_PLANT ||
           type == Level::SPIKED_POLE || type == Level::BOILING_MUD;
}

// Switches never hurt the hero.
bool Is_Switch(int type)
{
    return type == Level::PIPE_SWITCH || type == Level::REVERSE_PIPE_SWITCH;
}

bool Is_Spirit(int type)
{
    return type == Level::GHOST || type == Level::MASTER_ECTO;
}

} // namespace

Bluejay::Bluejay()
    : went_down_pipe(false), pipe_screen(0), local_pipe(false), lives(STARTING_LIVES), eggs(0), points(0),
      dead(false), state(GLIDING), jump_top(0), pipe_x(0), pipe_y(0), flight_timer(0),
      jump_released(true), fly_released(true), refused_flash_ticks(0)
{
    type = Level::BLUEJAY;
    bitmap = Application::BLUEJAY_STANDING_BM;
    strength = STARTING_STRENGTH;
    number_of_bump_maps = 3;
}

void Bluejay::Get_Bump_Map(Rectangle& result, int number, Application& application)
{
    if (number == BODY || x_direction == 1 || number < 0 || number >= MAX_BUMP_MAPS)
    {
        Character::Get_Bump_Map(result, number, application);
        return;
    }
    // Head and tail turn with the hero; the body is the same both ways.
    Rectangle flipped;
    Flip_Bump_Map(bump_maps[number], flipped, application);
    Place(flipped, x, y, result);
}

void Bluejay::Reset(bool)
{
    if (!local_pipe)
    {
        x = start_x;
        y = start_y;
    }
    went_down_pipe = false;
    x_direction = 1;
    y_direction = 1;
    state = GLIDING;
    local_pipe = false;
    if (dead)
    {
        dead = false;
        strength = STARTING_STRENGTH;
        hurt = false;
        flight_timer = 0;
    }
}

void Bluejay::Copy_Status(Bluejay& other)
{
    other.bitmap = bitmap;
    other.strength = strength;
    other.flight_timer = flight_timer;
    other.hurt = hurt;
    other.timer = timer;
    other.lives = lives;
    other.eggs = eggs;
    other.points = points;
}

void Bluejay::Process(Application& application, Level& level)
{
    if (Is_On_Screen(level.scroll_x, level.scroll_y, application))
    {
        timer++;
        if (strength <= 0)
        {
            // Out of strength: the hero falls through everything.
            bitmap = Application::BLUEJAY_HURT_BM;
            y += Rectangle::CELL_SIZE;
            if (!dead)
            {
                dead = true;
                lives--;
                application.Stop_Music();
                application.Play_Sound(Application::BLUEJAY_DIES_SE);
            }
        }
        else
        {
            Contacts contacts = {};
            Find_Platforms(application, level, contacts);
            if (state != GOING_DOWN_PIPE)
                Read_Signals(application, level, contacts);
            Act_On_State(application, contacts);
            Eat(application, level);
            Meet_Body_Contact(application, level);
            Grab_Egg(application, level);
            Swat_With_Tail(application, level, contacts);
            if (hurt && timer == HURT_TICKS)
                hurt = false;
            Apply_Corners(contacts);
            Move(level, contacts);
        }
        Draw(application, level);
    }

    if (refused_flash_ticks > 0)
        refused_flash_ticks--;

    // Falling out of the bottom of the level costs a life, silently. A hero
    // a ghost has just pushed back is out of the old view too, but the
    // camera jumps to it at the end of this tick. An invincible hero is put
    // back where it last started instead, and keeps its life.
    if (!Is_On_Screen(level.scroll_x, level.scroll_y, application) && !level.reposition_requested)
    {
        if (application.Assists().invincible && !dead && strength > 0 && level.Hero() == this)
        {
            x = level.checkpoint_lit ? level.restart_x : start_x;
            y = level.checkpoint_lit ? level.restart_y : start_y;
            state = GLIDING;
            y_direction = 1;
            level.reposition_requested = true;
            return;
        }
        y = Application::CANVAS_HEIGHT;
        if (!dead)
        {
            dead = true;
            lives--;
        }
    }
}

void Bluejay::Find_Platforms(Application& application, Level& level, Contacts& contacts)
{
    int left, right, top, bottom, top_left, bottom_left, top_right, bottom_right;
    Which_Platforms_Were_Hit(left, right, top, bottom, top_left, bottom_left, top_right,
                             bottom_right, level, BODY, application);
    contacts.below = bottom;
    contacts.corner_top_left = Is_Solid(level, top_left);
    contacts.corner_top_right = Is_Solid(level, top_right);
    contacts.corner_bottom_left = Is_Solid(level, bottom_left);
    contacts.corner_bottom_right = Is_Solid(level, bottom_right);

    if (Is_Solid(level, bottom))
    {
        contacts.on_ground = true;
        jump_top = y - MAX_JUMP_HEIGHT;
    }

    int level_top = Level_Top(level);
    if (Is_Solid(level, top) || (level.screens_high == 1 && y == 0))
    {
        contacts.head_blocked = true;
        if (state == JUMPING)
        {
            y_direction = 1;
            state = GLIDING;
        }
    }
    else if (y == level_top)
    {
        contacts.head_blocked = true;
        if (state != FLYING)
        {
            y_direction = 1;
            state = GLIDING;
        }
    }
    else if (state == JUMPING && y == jump_top)
    {
        contacts.head_blocked = true;
        y_direction = 1;
        state = GLIDING;
    }

    long long right_end = Right_End(application, level);
    contacts.blocked_right = Is_Solid(level, right) || x == right_end;
    contacts.blocked_left = Is_Solid(level, left) || x == 0;
}

void Bluejay::Read_Signals(Application& application, Level& level, Contacts& contacts)
{
    int signals = application.signals;

    if (signals & Application::SIGNAL_LEFT)
    {
        contacts.turned = x_direction != -1;
        x_direction = -1;
    }
    else if (signals & Application::SIGNAL_RIGHT)
    {
        contacts.turned = x_direction != 1;
        x_direction = 1;
    }

    // One jump per press: the key must be let go before the next one.
    if (signals & Application::SIGNAL_UP)
    {
        if (contacts.on_ground && jump_released)
        {
            state = JUMPING;
            jump_released = false;
            y_direction = -1;
        }
    }
    else
    {
        jump_released = true;
        if (state == JUMPING)
        {
            state = GLIDING;
            y_direction = 1;
        }
    }

    // Flight refused for want of strength: a short sound and a flash of the
    // hearts, once a press.
    bool fly_held = (signals & Application::SIGNAL_FLY) != 0;
    if (fly_held && fly_released && !hurt && !contacts.head_blocked && strength <= 1)
    {
        application.Play_Sound(Application::FLIGHT_REFUSED_SE);
        refused_flash_ticks = REFUSED_FLASH_TICKS;
    }
    fly_released = !fly_held;

    if ((signals & Application::SIGNAL_FLY) && !hurt)
    {
        if (!contacts.head_blocked && strength > 1)
        {
            state = FLYING;
            y_direction = -1;
        }
    }
    else if (state == FLYING)
    {
        state = GLIDING;
        y_direction = 1;
    }

    if ((signals & Application::SIGNAL_DOWN) && contacts.on_ground)
    {
        Platform* pipe = level.platforms[contacts.below];
        if (pipe->type == Level::PIPE || pipe->type == Level::LOCAL_PIPE)
        {
            state = GOING_DOWN_PIPE;
            pipe_x = pipe->x;
            pipe_y = pipe->y;
            y_direction = 1;
            x_direction = 1;
            x = pipe_x + Rectangle::CELL_SIZE;
            local_pipe = pipe->type == Level::LOCAL_PIPE;
            application.Play_Sound(Application::WARP_SE);
        }
    }

    // The player gives up this life.
    if (signals & Application::SIGNAL_DELETE)
    {
        hurt = true;
        strength = 0;
    }
}

void Bluejay::Act_On_State(Application& application, Contacts& contacts)
{
    // Tested in order, so a change made by one is seen by the next.
    if (state == IDLE || state == JUMPING)
        bitmap = Application::BLUEJAY_STANDING_BM;
    if (state == FLYING)
    {
        bitmap = Application::BLUEJAY_WINGS_IN_BM + (timer & 1);
        // Endless flight: the time in the air is not even counted.
        if (!application.Assists().endless_flight)
            flight_timer++;
        if (flight_timer % FLIGHT_TICKS_PER_STRENGTH == 0 && strength > 1 && flight_timer > 0)
            strength--;
        if (hurt || strength == 1)
        {
            state = GLIDING;
            y_direction = 1;
        }
    }
    if (state == GLIDING)
    {
        bitmap = Application::BLUEJAY_WINGS_OUT_BM;
        if (contacts.on_ground)
            state = IDLE;
    }
    if (state == GOING_DOWN_PIPE)
    {
        bitmap = Application::BLUEJAY_STANDING_BM;
        // On a pipe placed off the 4-pixel grid the hero steps past its top
        // instead of onto it; it is inside all the same.
        if (y >= pipe_y)
        {
            y = pipe_y;
            went_down_pipe = true;
            pipe_screen = pipe_x / Application::CANVAS_WIDTH;
        }
        else
        {
            contacts.on_ground = false; // sinking into the pipe
        }
    }
}

void Bluejay::Eat(Application& application, Level& level)
{
    int left, right, top, bottom, top_left, bottom_left, top_right, bottom_right;
    Which_Platforms_Were_Hit(left, right, top, bottom, top_left, bottom_left, top_right,
                             bottom_right, level, HEAD, application);
    // Only what the head faces is eaten.
    if (right != NO_PLATFORM_HIT && x_direction == 1)
        Eat_Platform(application, *level.platforms[right]);
    if (left != NO_PLATFORM_HIT && x_direction == -1)
        Eat_Platform(application, *level.platforms[left]);
}

void Bluejay::Eat_Platform(Application& application, Platform& platform)
{
    // In the demo cherries are eaten at any strength (not in the replay of a
    // run the player recorded, which keeps the rules it was played by).
    if (platform.type == Level::CHERRY && !hurt && !platform.taken &&
        (strength <= MAX_STRENGTH - 1 || application.Demo_Rules()))
    {
        bitmap = Application::BLUEJAY_EATING_BM;
        platform.taken = true;
        strength++;
    }
    if (platform.type == Level::YELLOW_CHERRY && !platform.taken)
    {
        bitmap = Application::BLUEJAY_EATING_BM;
        platform.taken = true;
        lives++;
    }
}

void Bluejay::Get_Hurt(Application& application)
{
    hurt = true;
    timer = 0;
    if (!application.Assists().invincible)
        strength--;
    application.Play_Sound(Application::HIT_SE);
}

void Bluejay::Lose_All_Strength(Application& application)
{
    if (application.Assists().invincible)
    {
        Get_Hurt(application);
        return;
    }
    strength = 0;
    hurt = true;
    application.Play_Sound(Application::HIT_SE);
}

void Bluejay::Hit_Creature(Application& application, Character& creature)
{
    // Only the hit that takes the last strength scores.
    if (creature.strength == 1)
    {
        application.Play_Sound(Application::DAMAGING_STOMP_SE);
        points += creature.Get_Points();
    }
    else
    {
        application.Play_Sound(Application::USELESS_STOMP_SE);
    }
    creature.hurt = true;
}

void Bluejay::Meet_Ghost(Application& application, Level& level)
{
    switch (std::rand() % 3)
    {
    case 0:
    {
        if (application.Assists().no_ghost_push)
            break;
        // Pushed back somewhere between the start and here, but never behind
        // the last bell rung (a hero already behind it stays where it is).
        int before = x;
        int cells = (x - start_x) / Rectangle::CELL_SIZE;
        if (x > start_x && cells >= 1)
            x = start_x + Rectangle::CELL_SIZE * (std::rand() % cells);
        else
            x = start_x;
        int floor = level.checkpoint_lit ? std::min(before, level.restart_x) : x;
        if (x < floor)
            x = floor;
        if (level.Hero() == this)
            level.reposition_requested = true;
        break;
    }
    case 1:
        // Scared: blinking, untouchable, but no strength lost.
        hurt = true;
        timer = 0;
        break;
    default:
        x_direction = -x_direction;
        break;
    }
}

void Bluejay::Meet_Body_Contact(Application& application, Level& level)
{
    int other_number = 0, flags = 0;
    int index = Which_Character_Was_Hit(level, BODY, application, other_number, flags);
    if (index == NO_CHARACTER_HIT)
        return;
    Character& creature = *level.characters[index];
    int kind = creature.type;
    bool on_screen = creature.Is_On_Screen(level.scroll_x, level.scroll_y, application);

    if (kind == Level::EGG || creature.hurt || hurt || creature.strength <= 0 || Is_Spirit(kind))
    {
        if (Is_Spirit(kind) && !hurt && state != GOING_DOWN_PIPE && !dead && on_screen &&
            level.signal != Level::SIGNAL_DESTROY_ECTO)
            Meet_Ghost(application, level);
        return;
    }

    if (flags & HIT_BOTTOM)
    {
        if (!Is_Hard(kind) && on_screen)
        {
            // A stomp: the hero bounces off the creature.
            Hit_Creature(application, creature);
            state = JUMPING;
            jump_top = y - MAX_JUMP_HEIGHT;
            y_direction = -1;
        }
        else if (state != GOING_DOWN_PIPE && !Is_Switch(kind) && kind != Level::BOILING_MUD &&
                 on_screen && creature.harmful)
        {
            // Landing on something hard hurts.
            Get_Hurt(application);
            if (kind != Level::SUPER_MOSQUITO)
                creature.x_direction = -x_direction;
        }
        return;
    }

    if (state == GOING_DOWN_PIPE || Is_Switch(kind) || !creature.harmful)
        return;
    bool on_x_screen = creature.Is_On_X_Screen(level.scroll_x, level.scroll_y, application);
    if ((flags & IS_INSIDE) && kind == Level::TOMATOO_PLANT && on_x_screen)
    {
        // Caught by a plant as it springs up: every strength at once.
        if (static_cast<Tomatoo_Plant&>(creature).shooting_up)
        {
            Lose_All_Strength(application);
        }
        else
        {
            Get_Hurt(application);
        }
    }
    else if ((flags & IS_INSIDE) && kind == Level::SPIKED_POLE && on_x_screen)
    {
        if (static_cast<Spiked_Pole&>(creature).extended)
        {
            Lose_All_Strength(application);
        }
        else
        {
            Get_Hurt(application);
        }
    }
    else if (kind == Level::BOILING_MUD && on_x_screen)
    {
        Lose_All_Strength(application);
    }
    else if (on_screen)
    {
        Get_Hurt(application);
        if (kind != Level::SUPER_MOSQUITO)
            creature.x_direction = -creature.x_direction; // it turns back
    }
}

void Bluejay::Grab_Egg(Application& application, Level& level)
{
    int other_number = 0, flags = 0;
    int index = Which_Character_Was_Hit(level, HEAD, application, other_number, flags);
    if (index == NO_CHARACTER_HIT)
        return;
    Character& egg = *level.characters[index];
    int facing = x_direction == 1 ? HIT_RIGHT : HIT_LEFT;
    if (egg.type != Level::EGG || egg.hurt || hurt || !(flags & facing))
        return;
    application.Play_Sound(Application::GRAB_EGG_SE);
    egg.hurt = true;
    eggs++;
    strength += 3;
    if (strength > MAX_STRENGTH)
        strength = MAX_STRENGTH;
    bitmap = Application::BLUEJAY_EATING_BM;
}

void Bluejay::Swat_With_Tail(Application& application, Level& level, const Contacts& contacts)
{
    int other_number = 0, flags = 0;
    int index = Which_Character_Was_Hit(level, TAIL, application, other_number, flags);
    if (index == NO_CHARACTER_HIT || flags == 0)
        return;
    Character& creature = *level.characters[index];
    int kind = creature.type;
    // Turning around with the tail against a creature swats it.
    if (kind == Level::EGG || Is_Spirit(kind) || Is_Hard(kind) || creature.hurt ||
        creature.strength <= 0 || hurt || !contacts.turned ||
        !creature.Is_On_Screen(level.scroll_x, level.scroll_y, application))
        return;
    Hit_Creature(application, creature);
}

void Bluejay::Apply_Corners(Contacts& contacts)
{
    bool rising = state == JUMPING || state == FLYING;
    if (contacts.corner_top_left && x_direction == -1 && y_direction == -1 && !contacts.blocked_left &&
        !contacts.head_blocked && rising)
    {
        contacts.blocked_left = true;
        contacts.head_blocked = true;
        state = GLIDING;
        y_direction = 1;
    }
    rising = state == JUMPING || state == FLYING;
    if (contacts.corner_top_right && x_direction == 1 && y_direction == -1 && !contacts.blocked_right &&
        !contacts.head_blocked && rising)
    {
        contacts.blocked_right = true;
        contacts.head_blocked = true;
        state = GLIDING;
        y_direction = 1;
    }
    if (contacts.corner_bottom_left && x_direction == -1 && y_direction == 1 && !contacts.blocked_left &&
        !contacts.on_ground)
        contacts.blocked_left = true;
    if (contacts.corner_bottom_right && x_direction == 1 && y_direction == 1 && !contacts.blocked_right &&
        !contacts.on_ground)
        contacts.blocked_right = true;
}

void Bluejay::Move(Level& level, const Contacts& contacts)
{
    int step_x = 0;
    int step_y = 0;
    if (state != IDLE && state != GOING_DOWN_PIPE)
    {
        if (x_direction == 1 && !contacts.blocked_right)
            step_x = 1;
        if (x_direction == -1 && !contacts.blocked_left)
            step_x = -1;
    }
    if (y_direction == 1 && !contacts.on_ground)
        step_y = 1;
    if (y_direction == -1 && !contacts.head_blocked)
        step_y = -1;
    x += Rectangle::CELL_SIZE * step_x;
    y += Rectangle::CELL_SIZE * step_y;

    // The camera follows the level's hero only: a map with a second blue
    // jay must not drag the view away from the one the player watches.
    if (level.Hero() != this)
        return;
    if (step_x != 0)
    {
        level.scroll_x_requested = true;
        level.scroll_x_step = step_x;
    }
    if (step_y != 0)
    {
        level.scroll_y_requested = true;
        level.scroll_y_step = step_y;
    }
}

void Bluejay::Draw(Application& application, Level& level)
{
    // A hurt hero blinks.
    if (!(hurt && (timer & 1)))
    {
        Draw_In_View(application, level, x_direction == -1);
    }
    if (state == GOING_DOWN_PIPE)
        application.Draw_Sprite(Application::PIPE_BM, pipe_x - level.scroll_x, pipe_y - level.scroll_y);
}
