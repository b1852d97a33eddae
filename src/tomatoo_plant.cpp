#include "tomatoo_plant.h"

#include <cstdlib>

#include "application.h"
#include "level.h"

Tomatoo_Plant::Tomatoo_Plant() : shooting_up(false), stem_count(0), extended(false)
{
    type = Level::TOMATOO_PLANT;
    bitmap = Application::TOMATOO_PLANT_HEAD_BM;
    strength = 1;
    number_of_bump_maps = 1;
    timer = RELOAD_TICKS + 1; // it may shoot on its first tick in view
}

void Tomatoo_Plant::Get_Bump_Map(Rectangle& result, int number, Application& application)
{
    Get_Grown_Bump_Map(result, number, application, extended, stem_count, Application::TOMATOO_PLANT_STEM_BM);
}

void Tomatoo_Plant::Process(Application& application, Level& level)
{
    shooting_up = false;
    // Only the columns count: a plant above or below the view still acts.
    if (!Is_On_X_Screen(level.scroll_x, level.scroll_y, application))
        return;

    int hero_centre_x = x, hero_centre_y = y;
    level.Hero_Centre(application, hero_centre_x, hero_centre_y);
    timer++;

    int stem_height = application.Bitmap_Height(Application::TOMATOO_PLANT_STEM_BM);
    if (std::rand() % CHANCE == 0 && hero_centre_x >= x - REACH &&
        hero_centre_x <= x + application.Bitmap_Width(bitmap) + REACH && timer > RELOAD_TICKS && !extended)
    {
        stem_count = level.screens_high == 1 ? SHORT_STEM : LONG_STEM;
        y -= stem_height * stem_count;
        application.Play_Sound(Application::GROWING_SE);
        extended = true;
        shooting_up = true;
        timer = 0;
    }
    if (timer > UP_TICKS && extended)
    {
        y = start_y;
        extended = false;
        application.Play_Sound(Application::SHRINKING_SE);
    }

    application.Draw_Sprite(bitmap, x - level.scroll_x, y - level.scroll_y);
    if (extended)
    {
        int head_height = application.Bitmap_Height(bitmap);
        for (int i = 0; i < stem_count; i++)
            application.Draw_Sprite(Application::TOMATOO_PLANT_STEM_BM, x - level.scroll_x,
                                    y + head_height + i * stem_height - level.scroll_y);
    }
}
