#ifndef BLUEJAY_LEVEL_LIST_H
#define BLUEJAY_LEVEL_LIST_H

#include <string>
#include <vector>

class Application;

// The levels a player can start a game on: those of the campaign reached
// so far (the pipes from the first level lead there, in the order they
// are met, up to the furthest level reached), and the player's own levels,
// every level with a hero that no chain of pipes from the first level
// reaches (one made in the editor), always open.
class Level_List
{
public:
    struct Entry
    {
        int level = 0;
        // The first line of the level's message, or empty.
        std::string name;
        bool own = false;
    };

    std::vector<Entry> entries;

    void Build(const Application& application);

    // Every level a chain of pipes from the first level reaches, the first
    // level included, in the order they are met.
    static std::vector<int> Campaign_Levels(const Application& application);
};

#endif
