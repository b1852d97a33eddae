#ifndef BLUEJAY_SCROLLING_BACKGROUND_OBJECT_H
#define BLUEJAY_SCROLLING_BACKGROUND_OBJECT_H

#include "character.h"

// An invisible marker: once it has been in view, the background drifts by
// itself.
class Scrolling_Background_Object : public Character
{
public:
    Scrolling_Background_Object();
    void Process(Application& application, Level& level) override;
};

#endif
