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
        y += Rectangle::CELL_SIZE;
    angle = (angle + TURN_STEP) % 256;
    // It turns about its centre. Only a rock in view is drawn: nothing would
    // show elsewhere, and the library turns pictures in 16.16 fixed point,
    // which positions far off the canvas do not fit. The turn is asked for
    // with multiplications, since the library's shortcut shifts negative
    // numbers.
    if (!Is_On_Screen(level.scroll_x, level.scroll_y, application))
        return;
    BITMAP* picture = application.bitmaps[bitmap];
    if (picture == nullptr)
        return;
    fixed centre_x = (x - level.scroll_x) * 65536 + picture->w * 32768;
    fixed centre_y = (y - level.scroll_y) * 65536 + picture->h * 32768;
    application.canvas->vtable->pivot_scaled_sprite_flip(application.canvas, picture, centre_x, centre_y,
                                                         picture->w * 32768, picture->h * 32768,
                                                         itofix(angle), itofix(1), FALSE);
}
