#include "rock.h"

#include "application.h"
#include "level.h"

Rock::Rock() : local(false), angle(0)
{
    type = Level::ROCK;
    bitmap = Application::ROCK_BM;
    number_of_bump_maps = 1;
    strength = 1;
}

void Rock::Process(Application& application, Level& level)
{
    bool active = local ? Is_On_Screen(level.scroll_x, level.scroll_y, application)
                        : Is_On_X_Screen(level.scroll_x, level.scroll_y, application);
    if (!active)
        return;
    timer++;
    if (timer % 2 == 0)
        y += 4;
    angle = (angle + TURN_STEP) % 256;
    if (bitmap >= 0 && bitmap < Application::NUMBER_OF_BITMAPS && application.bitmaps[bitmap] != nullptr)
        rotate_sprite(application.canvas, application.bitmaps[bitmap], x - level.scroll_x, y - level.scroll_y,
                      itofix(angle));
}
