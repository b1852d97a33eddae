#ifndef BLUEJAY_MESSAGE_OBJECT_H
#define BLUEJAY_MESSAGE_OBJECT_H

#include "character.h"

// An invisible marker: when it comes into view the first time, the level
// shows its message and play holds until the player presses Enter.
class Message_Object : public Character
{
public:
    Message_Object();
    void Process(Application& application, Level& level) override;
};

#endif
