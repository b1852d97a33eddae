#include "level_list.h"

#include <algorithm>
#include <deque>

#include "application.h"
#include "level.h"
#include "platform.h"

std::vector<int> Level_List::Campaign_Levels(const Application& application)
{
    std::vector<bool> seen(Application::NUMBER_OF_LEVELS, false);
    std::vector<int> order;
    std::deque<int> waiting = {0};
    seen[0] = true;
    while (!waiting.empty())
    {
        int number = waiting.front();
        waiting.pop_front();
        order.push_back(number);
        const Level& level = *application.levels[number];
        for (int i = 0; i < level.number_of_platforms && i < Level::MAX_PLATFORMS; i++)
        {
            const Platform* pipe = level.platforms[i];
            if (pipe == nullptr || pipe->type != Level::PIPE)
                continue;
            int screen = std::clamp(pipe->x / Application::CANVAS_WIDTH, 0, Level::NUMBER_OF_POINTERS - 1);
            int destination = level.pointers[screen];
            if (destination >= 0 && destination < Application::NUMBER_OF_LEVELS && !seen[destination])
            {
                seen[destination] = true;
                waiting.push_back(destination);
            }
        }
    }
    return order;
}

void Level_List::Build(const Application& application)
{
    entries.clear();
    auto name_of = [&](int number) {
        char name[Application::MAX_NOTICE_LENGTH];
        application.Level_Name(number, name, sizeof(name));
        return std::string(name);
    };
    std::vector<int> campaign = Campaign_Levels(application);
    int furthest = application.progress.furthest_level;
    bool furthest_in_campaign = std::find(campaign.begin(), campaign.end(), furthest) != campaign.end();
    for (int number : campaign)
    {
        if (application.levels[number]->Hero() != nullptr)
            entries.push_back({number, name_of(number), false});
        // The levels after the furthest one reached are still to be found.
        if (number == furthest || !furthest_in_campaign)
            break;
    }
    std::vector<bool> in_campaign(Application::NUMBER_OF_LEVELS, false);
    for (int number : campaign)
        in_campaign[number] = true;
    for (int number = 0; number < Application::NUMBER_OF_LEVELS; number++)
        if (!in_campaign[number] && application.levels[number]->Hero() != nullptr)
            entries.push_back({number, name_of(number), true});
}
