#include "lemming.h"

#include "application.h"
#include "bluejay.h"
#include "level.h"
#include "throwable_rock.h"

Lemming::Lemming() : state(FALLING), jump_top(0), carrying_rock(false), carried_rock(0)
{
    type = Level::LEMMING;
    bitmap = Application::LEMMING_WALK_BM;
    strength = 1;
    number_of_bump_maps = 1;
    x_direction = -1;
}

Character* Lemming::Carried_Rock(Level& level)
{
    if (!carrying_rock || carried_rock < 0 || carried_rock >= level.number_of_characters)
        return nullptr;
    return level.characters[carried_rock];
}

void Lemming::Pick_Up_Rock(Application& application, Level& level)
{
    int other_number = 0, flags = 0;
    int index = Which_Character_Was_Hit(level, 0, application, other_number, flags);
    if (index == NO_CHARACTER_HIT || carrying_rock)
        return;
    Character& rock = *level.characters[index];
    int ahead = x_direction == 1 ? HIT_RIGHT : HIT_LEFT;
    // Only a stone lying on the ground is harmless and can be picked up.
    if (rock.type != Level::THROWABLE_ROCK || !(flags & ahead) || rock.harmful)
        return;
    carrying_rock = true;
    carried_rock = index;
    rock.x = x;
    rock.y = y - CARRY_HEIGHT;
    rock.harmful = true;
}

void Lemming::Process(Application& application, Level& level)
{
    if (!Is_On_Screen(level.scroll_x, level.scroll_y, application))
        return;
    timer++;
    if (hurt)
        strength--;

    Character* rock = Carried_Rock(level);
    if (strength <= 0)
    {
        // Beaten: it drops straight out of the picture, stone and all.
        y += Rectangle::CELL_SIZE;
        if (rock != nullptr)
            rock->y += Rectangle::CELL_SIZE;
    }
    else
    {
        Bluejay* hero = level.Hero();
        int hero_centre_x = x, hero_bottom = y;
        if (hero != nullptr)
        {
            hero_centre_x = hero->x + application.Bitmap_Width(hero->bitmap) / 2;
            hero_bottom = hero->y + application.Bitmap_Height(hero->bitmap);
        }
        int own_bottom = y + application.Bitmap_Height(bitmap);

        int left, right, top, bottom, top_left, bottom_left, top_right, bottom_right;
        Which_Platforms_Were_Hit(left, right, top, bottom, top_left, bottom_left, top_right, bottom_right,
                                 level, 0, application);
        bool on_ground = false;
        int level_top = Level_Top(level);
        if (y_direction == 1)
        {
            if (Is_Solid(level, bottom))
            {
                on_ground = true;
                jump_top = y - MAX_JUMP_HEIGHT;
            }
        }
        else if (Is_Solid(level, top) || (level.screens_high == 1 && y == 0) || y == level_top || y == jump_top)
        {
            y_direction = 1;
            state = FALLING;
        }

        // A wall makes a standing lemming jump; only the ends of the level
        // turn it around.
        bool blocked_left = false, blocked_right = false;
        long long right_end = Right_End(application, level);
        if (Is_Solid(level, right))
        {
            if (on_ground)
            {
                state = JUMPING;
                y_direction = -1;
            }
            blocked_right = true;
        }
        else if (x == right_end)
        {
            x_direction = -1;
            blocked_right = true;
        }
        if (Is_Solid(level, left))
        {
            if (on_ground)
            {
                state = JUMPING;
                y_direction = -1;
            }
            blocked_left = true;
        }
        else if (x == 0)
        {
            x_direction = 1;
            blocked_left = true;
        }

        if (y_direction == -1)
        {
            if (Is_Solid(level, top_left) && x_direction == -1)
                x_direction = 1;
            if (Is_Solid(level, top_right) && x_direction == 1)
                x_direction = -1;
        }
        else if (!on_ground)
        {
            if (Is_Solid(level, bottom_left) && x_direction == -1)
                x_direction = 1;
            if (Is_Solid(level, bottom_right) && x_direction == 1)
                x_direction = -1;
        }

        Pick_Up_Rock(application, level);
        rock = Carried_Rock(level);

        int still = carrying_rock ? Application::LEMMING_STILL_ARMS_UP_BM : Application::LEMMING_STILL_BM;
        int walk = carrying_rock ? Application::LEMMING_WALK_ARMS_UP_BM : Application::LEMMING_WALK_BM;
        if (state == WALKING)
        {
            bitmap = (timer & 1) ? walk : still;
            if (rock != nullptr)
            {
                // Throw the stone at the hero.
                if (rock->type == Level::THROWABLE_ROCK)
                    static_cast<Throwable_Rock*>(rock)->thrown = true;
                carrying_rock = false;
                if (hero_centre_x < x)
                    x_direction = -1;
                else if (x + 16 < hero_centre_x)
                    x_direction = 1;
                rock->x_direction = x_direction;
                rock->y_direction = hero_bottom == own_bottom ? 0 : (hero_bottom > own_bottom ? 1 : -1);
                rock = nullptr;
            }
            if (!on_ground)
                state = FALLING;
        }
        if (state == JUMPING)
            bitmap = walk;
        if (state == FALLING)
        {
            bitmap = walk;
            if (on_ground)
                state = WALKING;
        }

        if (timer % 2 == 0)
        {
            int step = 0;
            if (x_direction == 1 && !blocked_right)
                step = Rectangle::CELL_SIZE;
            if (x_direction == -1 && !blocked_left)
                step = -Rectangle::CELL_SIZE;
            x += step;
            if (rock != nullptr)
                rock->x += step;
        }
        if (!on_ground)
        {
            y += Rectangle::CELL_SIZE * y_direction;
            if (rock != nullptr)
                rock->y += Rectangle::CELL_SIZE * y_direction;
        }
    }

    Draw_In_View(application, level, x_direction != 1);
}
