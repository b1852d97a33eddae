// The headless runner: plays the game without a screen, a timer or a sound
// card, tick by tick, from a movie file or a readable input script, and
// prints a one-line summary. Tests, level work and benchmarks use it.
//
//   bluejay_run [--title | --level N] [--movie FILE] [--script FILE]
//               [--ticks N] [--until-end] [--seed S] [--seed-each-level]
//               [--shot TICK:FILE]...
//
// --title      start on the title screen over the demo (Enter in the input
//              then starts the game, as for a player)
// --level N    start a new game on level N (the default is level 0)
// --movie FILE feed the signal words of a movie file, one per tick (its
//              first number, the level, is used unless --level is given)
// --script FILE hold keys as the script says: each line is a tick count and
//              the keys held for that many ticks, e.g. "12 right up";
//              key names: left right up down fly pause enter quit delete
//              none; '#' starts a comment; a "level N" line is passed over
// --ticks N    run N ticks (default 1000)
// --until-end  stop early at "Game Over", at the end of the game or on Q
// --seed S     seed of the random numbers (default 1)
// --seed-each-level  the random numbers start again from S + the level's
//              number as each level begins, the first one too, as the
//              campaign test plays the route: a change to one level then
//              never changes how the creatures of the later ones move
// --shot T:F   write the picture after tick T to the file F (.bmp, .pcx or
//              .tga)
// --overview F write a map of the whole current level, every screen, with
//              its platforms and characters where they are at the end, to F
// --settings F play with the [assist] and [display] options of a settings
//              file (the timer, the status backing, the assists)
// --record F   record the run, as key 4 does in the game, from its first
//              tick, and write the movie to F at the end (the recording stops
//              by itself where the hero leaves the level or the game ends)
//
// A movie played in the game (not on the title) starts as a replay does: the
// random numbers seeded from its level and the level as its file has it, so
// a recorded run ends the same whatever --seed says.
//
// Files named with a relative path are taken from the folder the runner was
// started in.
//
// The summary line:
//   ticks=.. level=.. x=.. y=.. state=.. strength=.. lives=.. eggs=..
//   points=.. game_over=.. game_complete=..

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include <allegro.h>

#include "application.h"
#include "bluejay.h"
#include "settings.h"
#include "level.h"
#include "level_overview.h"
#include "level_seeds.h"
#include "platform.h"
#include "start_folder.h"
#include "tick_input.h"

namespace
{
struct Options
{
    bool title = false;
    int level = -1;
    std::string movie;
    std::string script;
    long ticks = 1000;
    bool until_end = false;
    unsigned seed = 1;
    bool seed_each_level = false;
    std::map<long, std::string> shots;
    std::string overview;
    std::string record;
    std::string settings;
};

int Usage(const char* message)
{
    std::fprintf(stderr, "bluejay_run: %s\n", message);
    std::fprintf(stderr, "usage: bluejay_run [--title | --level N] [--movie FILE] [--script FILE] "
                         "[--ticks N] [--until-end] [--seed S] [--seed-each-level] [--shot TICK:FILE]... [--overview FILE] [--record FILE] [--settings FILE]\n");
    return 2;
}

bool Parse_Number(const char* text, long& value)
{
    char* end = nullptr;
    errno = 0;
    value = std::strtol(text, &end, 10);
    return errno == 0 && end != text && *end == '\0';
}

// Every screen of the level in one picture, markers included.
bool Write_Overview(Application& game, Level& level, const std::string& file)
{
    BITMAP* map = Level_Overview::Draw(game, level);
    if (map == nullptr)
        return false;
    bool written = save_bitmap(file.c_str(), map, nullptr) == 0;
    destroy_bitmap(map);
    return written;
}

} // namespace

int main(int argc, char* argv[])
{
    Options options;
    for (int i = 1; i < argc; i++)
    {
        std::string option = argv[i];
        long number = 0;
        bool has_value = i + 1 < argc;
        if (option == "--title")
            options.title = true;
        else if (option == "--until-end")
            options.until_end = true;
        else if (option == "--seed-each-level")
            options.seed_each_level = true;
        else if (option == "--level" && has_value && Parse_Number(argv[i + 1], number))
            options.level = static_cast<int>(number), i++;
        else if (option == "--ticks" && has_value && Parse_Number(argv[i + 1], number) && number >= 0)
            options.ticks = number, i++;
        else if (option == "--seed" && has_value && Parse_Number(argv[i + 1], number))
            options.seed = static_cast<unsigned>(number), i++;
        else if (option == "--movie" && has_value)
            options.movie = argv[++i];
        else if (option == "--script" && has_value)
            options.script = argv[++i];
        else if (option == "--overview" && has_value)
            options.overview = argv[++i];
        else if (option == "--record" && has_value)
            options.record = argv[++i];
        else if (option == "--settings" && has_value)
            options.settings = argv[++i];
        else if (option == "--shot" && has_value)
        {
            std::string value = argv[++i];
            std::string::size_type colon = value.find(':');
            if (colon == std::string::npos || !Parse_Number(value.substr(0, colon).c_str(), number))
                return Usage("--shot wants TICK:FILE");
            options.shots[number] = value.substr(colon + 1);
        }
        else
            return Usage(("bad option " + option).c_str());
    }
    if (options.level >= Application::NUMBER_OF_LEVELS)
        return Usage("--level wants 0 to 119");
    if (options.title && !options.record.empty())
        return Usage("--record records a game, not the title");

    Tick_Input input;
    if (!options.movie.empty() && !input.Read_Movie(options.movie))
        return Usage(input.error.c_str());
    int movie_level = input.level;
    if (!options.script.empty() && !input.Read_Script(options.script))
        return Usage(input.error.c_str());
    const std::vector<int>& words = input.words;

    // The pictures go where the user meant, though the game's files are
    // read from the data folder.
    Start_Folder start;
    for (auto& shot : options.shots)
        shot.second = start.Resolve(shot.second);
    options.overview = start.Resolve(options.overview);
    options.record = start.Resolve(options.record);
    options.settings = start.Resolve(options.settings);

    Find_Data_Directory();
    if (install_allegro(SYSTEM_NONE, &errno, atexit) != 0)
    {
        std::fprintf(stderr, "bluejay_run: cannot start the game library\n");
        return 1;
    }
    set_color_depth(32);
    std::srand(options.seed);

    Application* game = new Application();
    application = game;
    game->Load_Resources();
    if (game->missing_resource[0] != '\0')
    {
        std::fprintf(stderr, "Cannot load the data file \"%s\".\n", game->missing_resource);
        delete game;
        return 1;
    }
    game->Load_Game_Data();
    if (!options.settings.empty())
    {
        Settings settings;
        settings.Load(options.settings.c_str());
        std::fputs(settings.problem.c_str(), stderr);
        game->play_options = settings.play_options;
    }

    bool in_title = options.title;
    if (in_title)
    {
        game->Start_Title();
    }
    else
    {
        game->demo_mode = false;
        game->current_level = options.level >= 0 ? options.level : (options.movie.empty() ? 0 : movie_level);
        if (game->current_level < 0 || game->current_level >= Application::NUMBER_OF_LEVELS)
            game->current_level = 0;
        if (!options.movie.empty())
            game->Begin_Movie_Level(game->current_level);
    }
    if (!options.record.empty())
        game->Start_Recording();

    Level_Seeds level_seeds(options.seed);
    long tick = 0;
    while (tick < options.ticks)
    {
        Application::Press_Keys_For_Signals(tick < static_cast<long>(words.size()) ? words[tick] : 0);
        if (in_title)
        {
            game->Run_Title_Tick();
            if (game->title_done)
            {
                bool quit = game->quit;
                game->Leave_Title();
                game->quit = quit;
                in_title = false;
            }
        }
        else
        {
            if (options.seed_each_level)
                level_seeds.Before_Tick(game->current_level);
            game->Run_Play_Tick();
        }
        tick++;
        auto shot = options.shots.find(tick);
        if (shot != options.shots.end() && save_bitmap(shot->second.c_str(), game->canvas, nullptr) != 0)
            std::fprintf(stderr, "bluejay_run: cannot write %s\n", shot->second.c_str());
        if (options.until_end && (game->game_over || game->game_complete || game->quit))
            break;
        if (game->quit && !in_title)
            break;
    }
    Application::Press_Keys_For_Signals(0);
    if (!options.record.empty())
    {
        game->Stop_Recording();
        std::string reason = "no tick was recorded";
        if (!game->recorded_movie || !game->Save_Movie(options.record.c_str(), reason))
            std::fprintf(stderr, "bluejay_run: cannot write %s: %s\n", options.record.c_str(), reason.c_str());
    }
    if (!options.overview.empty() &&
        !Write_Overview(*game, *game->levels[game->current_level], options.overview))
        std::fprintf(stderr, "bluejay_run: cannot write %s\n", options.overview.c_str());

    Bluejay* hero = game->levels[game->current_level]->Hero();
    std::printf("ticks=%ld level=%d x=%d y=%d state=%d strength=%d lives=%d eggs=%d points=%d "
                "game_over=%d game_complete=%d\n",
                tick, game->current_level, hero ? hero->x : 0, hero ? hero->y : 0, hero ? hero->state : 0,
                hero ? hero->strength : 0, hero ? hero->lives : 0, hero ? hero->eggs : 0,
                hero ? hero->points : 0, game->game_over ? 1 : 0, game->game_complete ? 1 : 0);
    application = nullptr;
    delete game;
    return 0;
}
END_OF_MAIN()
