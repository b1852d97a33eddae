#include "super_mosquito.h"

#include <cstdlib>

#include "application.h"
#include "level.h"
#include "mosquito.h"

Super_Mosquito::Super_Mosquito() : mode(HOVERING), hurt_counted(false), home_x(0), home_y(0), returning(false)
{
    type = Level::SUPER_MOSQUITO;
    bitmap = Application::SUPER_MOSQUITO_WINGS_DOWN_BM;
    strength = FULL_STRENGTH;
    number_of_bump_maps = 1;
}

int Super_Mosquito::Get_Points()
{
    return 1000;
}

void Super_Mosquito::Reset(bool)
{
    x = start_x;
    y = start_y;
    strength = FULL_STRENGTH;
    mode = HOVERING;
    hurt_counted = false;
    returning = false;
}

void Super_Mosquito::Process(Application& application, Level& level)
{
    // The boss acts in view or not.
    timer++;
    bool on_screen = Is_On_Screen(level.scroll_x, level.scroll_y, application);
    if (strength < 1)
    {
        bitmap = Application::SUPER_MOSQUITO_WINGS_DOWN_BM;
        y += Rectangle::CELL_SIZE;
        level.signal = Level::SIGNAL_COLLAPSE_CEMENT;
    }
    else if (hurt)
    {
        Lose_Strength_Once(hurt_counted);
        if (timer > HURT_TICKS)
        {
            hurt = false;
            hurt_counted = false;
        }
    }
    else
    {
        bitmap = Application::SUPER_MOSQUITO_WINGS_DOWN_BM + (timer & 1);
        if (mode == HOVERING)
        {
            // The patrol keeps to the first screen, whatever the camera.
            if (x < 0)
                x_direction = 1;
            if (x + application.Bitmap_Width(bitmap) - 1 >= Application::CANVAS_WIDTH)
                x_direction = -1;
            if (std::rand() % DIVE_CHANCE == 0)
            {
                int centre_x = 0, centre_y = 0;
                if (level.Hero_Centre(application, centre_x, centre_y))
                    Mosquito::Aim(*this, centre_x, centre_y);
                mode = ATTACKING;
                home_x = x;
                home_y = y;
            }
            else if (strength == 1 && level.signal != Level::SIGNAL_ATTACK_BLUEJAY)
            {
                mode = CALLING_MOSQUITOS;
                home_x = x;
                home_y = y;
            }
        }
        else if (mode == ATTACKING)
        {
            // A dive runs straight on until it leaves the view, then retraces
            // its path home.
            if (!on_screen && !returning)
            {
                x_direction = -x_direction;
                y_direction = -y_direction;
                returning = true;
            }
            if (x == home_x && y == home_y)
            {
                returning = false;
                mode = HOVERING;
            }
        }
        else if (mode == CALLING_MOSQUITOS)
        {
            if (!on_screen && !returning)
            {
                level.signal = Level::SIGNAL_ATTACK_BLUEJAY;
                returning = true;
                x_direction = -x_direction;
                y_direction = -y_direction;
            }
            if (returning && x == home_x && y == home_y)
            {
                mode = HOVERING;
                returning = false;
            }
        }
        x += Rectangle::CELL_SIZE * x_direction;
        if (mode != HOVERING)
            y += Rectangle::CELL_SIZE * y_direction;
    }

    if (hurt && (timer & 1))
        return;
    application.Draw_Sprite(bitmap, x - level.scroll_x, y - level.scroll_y);
}
