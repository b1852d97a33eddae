// What play is counted and timed by, and the assists it is played with: the
// tick's period for the game speed, the clocks, the tally between levels,
// and the bests progress keeps.

#include <cstdio>
#include <cstring>

#include "application.h"
#include "bluejay.h"
#include "level.h"
#include "string_list.h"

const Play_Options& Application::Assists() const
{
    static const Play_Options none;
    if (demo_mode)
        return recorded_movie ? progress.movie_assists : none;
    return play_options;
}

void Application::Apply_Tick_Period()
{
    tick_period = play_options.Tick_Period();
    if (tick_timer_running)
        install_int(Tick_Has_Come, tick_period);
}

void Application::Level_Name(int level, char* buffer, int size) const
{
    buffer[0] = '\0';
    if (level < 0 || level >= NUMBER_OF_LEVELS || messages == nullptr || messages[level] == nullptr ||
        messages[level]->number_of_strings <= 0)
        return;
    std::snprintf(buffer, static_cast<size_t>(size), "%s", messages[level]->strings[0].c_str());
    // "The hill." is shown as "The hill".
    size_t length = std::strlen(buffer);
    while (length > 0 && (buffer[length - 1] == '.' || buffer[length - 1] == ' '))
        buffer[--length] = '\0';
}

void Application::Count_Play_Tick(Level& played, int level_before, bool was_dead, int pressed)
{
    Bluejay* hero = played.Hero();
    tally.Count_Tick(hero != nullptr && hero->dead && !was_dead);
    // A key sends the tally away; the key still does what it does.
    if (pressed != 0)
        tally.Key_Pressed();

    bool assisted = Assists().Any_Assist();
    if (current_level != level_before)
    {
        Tally_Counts counts = tally.Leave_Level(played, tick_period);
        if (progress.Note_Level(level_before, assisted, counts.ticks, counts.eggs, counts.all_eggs))
            Save_Progress();
        char name[Level_Tally::LINE_TEXT];
        Level_Name(current_level, name, sizeof(name));
        tally.Show_Name(name, tick_period);
    }
    if (game_complete && progress.Note_Game(assisted, tally.game_ticks))
        Save_Progress();
}
