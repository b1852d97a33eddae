#include "message_object.h"

#include "application.h"
#include "level.h"

Message_Object::Message_Object()
{
    type = Level::MESSAGE_OBJECT;
    // The editor's picture; in play it only sizes the marker.
    bitmap = Application::MESSAGE_BOX_BM;
    number_of_bump_maps = 0;
}

void Message_Object::Process(Application& application, Level& level)
{
    // The demo behind the title plays on without messages: nobody is there
    // to close them.
    if (application.demo_mode)
        return;
    if (Is_On_Screen(level.scroll_x, level.scroll_y, application) && !level.message_shown)
        level.showing_message = true;
}
