#include "ghost.h"

#include <cstdlib>

#include "application.h"
#include "level.h"

Ghost::Ghost()
{
    type = Level::GHOST;
    bitmap = Application::GHOST_BM;
    number_of_bump_maps = 1;
    strength = 1;
}

void Draw_Spirit(Application& application, BITMAP* scratch, int picture, int timer, int weight, int x, int y)
{
    if (scratch == nullptr || picture < 0 || picture >= Application::NUMBER_OF_BITMAPS ||
        application.bitmaps[picture] == nullptr)
        return;
    clear_to_color(scratch, makecol(255, 0, 255));
    if (timer % 2 == 0)
        draw_sprite_h_flip(scratch, application.bitmaps[picture], 0, 0);
    else
        draw_sprite(scratch, application.bitmaps[picture], 0, 0);
    set_trans_blender(weight, weight, weight, weight);
    draw_trans_sprite(application.canvas, scratch, x, y);
}

void Ghost::Process(Application& application, Level& level)
{
    if (!Is_On_Screen(level.scroll_x, level.scroll_y, application) || level.signal == Level::SIGNAL_DESTROY_ECTO)
        return;
    timer++;
    if (timer % JUMP_TICKS == 0)
    {
        // Off to a random place across the level's width.
        int places =
            (level.screens_wide * Application::CANVAS_WIDTH - application.Bitmap_Width(bitmap)) / Rectangle::CELL_SIZE;
        x = places > 0 ? Rectangle::CELL_SIZE * (std::rand() % places) : 0;
    }
    else if (timer % DRIFT_TICKS == 0)
    {
        int centre_x = 0, centre_y = 0;
        if (level.Hero_Centre(application, centre_x, centre_y))
            Step_Toward(centre_x, centre_y);
    }
    Draw_Spirit(application, application.ghost_canvas, bitmap, timer, 100, x - level.scroll_x,
                y - level.scroll_y);
}
