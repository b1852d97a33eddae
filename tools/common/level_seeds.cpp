#include "level_seeds.h"

#include <cstdlib>

void Level_Seeds::Before_Tick(int level)
{
    if (level == seeded_level)
        return;
    seeded_level = level;
    std::srand(base + static_cast<unsigned int>(level));
}
