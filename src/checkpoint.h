#ifndef BLUEJAY_CHECKPOINT_H
#define BLUEJAY_CHECKPOINT_H

#include "character.h"

// A bell on a post. The hero rings it by passing it (over it or through it,
// not below its foot): it lights up, and a
// life lost after that starts the hero here instead of at the level's
// start. It stays lit through lost lives; another level, a new game or a
// recording's restart puts it out.
class Checkpoint : public Character
{
public:
    bool lit;

    Checkpoint();
    void Process(Application& application, Level& level) override;
    // A lost life leaves the bell as it is.
    void Reset(bool full_reset) override;

private:
    // The hero's y when it starts again here.
    int Restart_Y(Application& application) const;
};

#endif
