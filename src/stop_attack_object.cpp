#include "stop_attack_object.h"

#include "application.h"
#include "level.h"

Stop_Attack_Object::Stop_Attack_Object()
{
    type = Level::STOP_ATTACK_OBJECT;
    bitmap = Application::STOP_ATTACK_BM;
}

void Stop_Attack_Object::Process(Application& application, Level& level)
{
    if (Is_On_Screen(level.scroll_x, level.scroll_y, application) && level.signal == Level::SIGNAL_ATTACK_BLUEJAY)
        level.signal = 0;
}
