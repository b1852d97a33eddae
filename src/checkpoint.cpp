#include "checkpoint.h"

#include "application.h"
#include "bluejay.h"
#include "level.h"

Checkpoint::Checkpoint() : lit(false)
{
    type = Level::CHECKPOINT;
    bitmap = Application::CHECKPOINT_BM;
    // No shape: creatures and the hero's own contacts pass it by; it looks
    // for the hero itself.
    number_of_bump_maps = 0;
}

void Checkpoint::Reset(bool)
{
}

void Checkpoint::Process(Application& application, Level& level)
{
    if (!Is_On_Screen(level.scroll_x, level.scroll_y, application))
        return;
    Bluejay* hero = level.Hero();
    if (hero != nullptr && !hero->dead && hero->strength > 0)
    {
        int width = application.Bitmap_Width(bitmap);
        int height = application.Bitmap_Height(bitmap);
        int hero_width = application.Bitmap_Width(hero->bitmap);
        // A hero passing over the bell, however high, rings it too; one
        // falling past its foot into a pit does not.
        bool touching = hero->x < x + width && x < hero->x + hero_width && hero->y < y + height;
        // The bell rung last is where the hero starts again.
        if (touching && !lit)
        {
            application.Play_Sound(Application::CHECKPOINT_SE);
            lit = true;
            level.checkpoint_lit = true;
            level.restart_x = x;
            level.restart_y = Restart_Y(application);
        }
    }
    bitmap = lit ? Application::CHECKPOINT_LIT_BM : Application::CHECKPOINT_BM;
    Draw_In_View(application, level);
}

int Checkpoint::Restart_Y(Application& application) const
{
    // The hero stands where the post stands.
    return y + application.Bitmap_Height(bitmap) - application.Bitmap_Height(Application::BLUEJAY_STANDING_BM);
}
