#include "mosquito.h"

#include <cstdlib>

#include "application.h"
#include "level.h"

Mosquito::Mosquito() : mode(IDLE)
{
    type = Level::MOSQUITO;
    bitmap = Application::MOSQUITO_WINGS_DOWN_BM;
    strength = 1;
    number_of_bump_maps = 1;
}

void Mosquito::Aim(Character& character, int target_x, int target_y)
{
    if (character.x < target_x)
        character.x_direction = 1;
    else if (character.x > target_x)
        character.x_direction = -1;
    if (character.y < target_y)
        character.y_direction = 1;
    else if (character.y > target_y)
        character.y_direction = -1;
}

void Mosquito::Process(Application& application, Level& level)
{
    int centre_x = 0, centre_y = 0;
    bool has_hero = level.Hero_Centre(application, centre_x, centre_y);

    if (!Is_On_Screen(level.scroll_x, level.scroll_y, application))
    {
        // Called by the attack signal, it creeps toward the hero unseen and
        // settles within a step of its centre.
        if (level.signal == Level::SIGNAL_ATTACK_BLUEJAY && strength > 0 && has_hero)
            Step_Toward(centre_x, centre_y);
        return;
    }

    timer++;
    if (level.signal == Level::SIGNAL_COLLAPSE_CEMENT)
        hurt = true; // struck down with its master
    if (strength < 1)
        y += Rectangle::CELL_SIZE;
    else if (hurt)
        strength--;
    else
    {
        bitmap = Application::MOSQUITO_WINGS_DOWN_BM + (timer & 1);
        if (mode == IDLE && std::rand() % DART_CHANCE == 0)
        {
            if (has_hero)
                Aim(*this, centre_x, centre_y);
            mode = ATTACKING;
            application.Play_Sound(Application::MOSQUITO_SE);
        }
        if (mode == ATTACKING)
        {
            if (std::rand() % CALM_CHANCE == 0)
                mode = IDLE;
            x += Rectangle::CELL_SIZE * x_direction;
            y += Rectangle::CELL_SIZE * y_direction;
        }
    }
    application.Draw_Sprite(bitmap, x - level.scroll_x, y - level.scroll_y);
}
