#include "scrolling_background_object.h"

#include "application.h"
#include "level.h"

Scrolling_Background_Object::Scrolling_Background_Object()
{
    type = Level::SCROLLING_BACKGROUND;
    bitmap = Application::SCROLLING_BACKGROUND_BM;
}

void Scrolling_Background_Object::Process(Application& application, Level& level)
{
    if (Is_On_Screen(level.scroll_x, level.scroll_y, application))
        level.background_scrolling = true;
}
