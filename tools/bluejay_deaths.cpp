// The death map: plays each campaign level many times with two simple
// players (one who holds Right and jumps at random moments, one who also
// flies) and shows where they lose their lives: a picture per level with the
// death spots over the level's overview, and a table of lives lost per
// screen. Long: about a minute a level; not part of the tests.
//
//   bluejay_deaths [--levels FIRST-LAST] [--runs N] [--ticks N] --out FOLDER
//
// --levels  the levels to play (default 0-23, the campaign)
// --runs    runs per level and player, each with its own seed (default 40)
// --ticks   the longest run, in ticks (default 2000, a minute); a run also
//           ends when the hero leaves the level by a pipe
// --out     the folder for deaths_N.bmp and deaths.md (relative to the
//           folder the tool was started in)

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <allegro.h>

#include "application.h"
#include "death_map.h"
#include "level.h"
#include "level_overview.h"
#include "safe_file.h"
#include "simple_player.h"
#include "start_folder.h"

namespace
{
const int FIRST_CAMPAIGN_LEVEL = 0;
const int LAST_CAMPAIGN_LEVEL = 23;
const int DEFAULT_RUNS = 40;
const long DEFAULT_TICKS = 2000;
const int PERCENT = 100;

int Usage(const char* message)
{
    std::fprintf(stderr, "bluejay_deaths: %s\n", message);
    std::fprintf(stderr, "usage: bluejay_deaths [--levels FIRST-LAST] [--runs N] [--ticks N] --out FOLDER\n");
    return 2;
}

int Share(int part, int whole)
{
    return whole > 0 ? (part * PERCENT + whole / 2) / whole : 0;
}

std::string Screen_Counts(const Death_Map& map, int screens)
{
    std::string text;
    for (int column = 0; column < screens; column++)
        text += (column ? " " : "") + std::to_string(map.Deaths_In_Column(column, Simple_Player::JUMPER)) + "/" +
                std::to_string(map.Deaths_In_Column(column, Simple_Player::FLYER));
    return text;
}
} // namespace

int main(int argc, char* argv[])
{
    Start_Folder start;
    int first = FIRST_CAMPAIGN_LEVEL, last = LAST_CAMPAIGN_LEVEL, runs = DEFAULT_RUNS;
    long ticks = DEFAULT_TICKS;
    std::string out;
    for (int i = 1; i < argc; i++)
    {
        std::string option = argv[i];
        bool has_value = i + 1 < argc;
        if (option == "--levels" && has_value && std::sscanf(argv[i + 1], "%d-%d", &first, &last) == 2)
            i++;
        else if (option == "--runs" && has_value && (runs = std::atoi(argv[i + 1])) > 0)
            i++;
        else if (option == "--ticks" && has_value && (ticks = std::atol(argv[i + 1])) > 0)
            i++;
        else if (option == "--out" && has_value)
            out = start.Resolve(argv[++i]);
        else
            return Usage(("bad option " + option).c_str());
    }
    if (out.empty())
        return Usage("--out is needed");
    if (first < 0 || last >= Application::NUMBER_OF_LEVELS || first > last)
        return Usage("--levels wants FIRST-LAST within 0 to 119");

    Find_Data_Directory();
    if (install_allegro(SYSTEM_NONE, &errno, atexit) != 0)
    {
        std::fprintf(stderr, "bluejay_deaths: cannot start the game library\n");
        return 1;
    }
    set_color_depth(32);
    Application* game = new Application();
    application = game;
    game->Load_Resources();
    game->Load_Game_Data();
    game->demo_mode = false;

    std::string table = "| level | jumper | flyer | mean sent back per lost life (px) | lives lost per screen, "
                        "jumper/flyer |\n|---|---|---|---|---|\n";
    std::string first_level_figures;
    int status = 0;
    for (int number = first; number <= last; number++)
    {
        char path[Application::MAX_PATH_LENGTH];
        Make_Level_Path(path, number);
        Death_Map map(number);
        int lost[3] = {0, 0, 0};
        for (int kind : {Simple_Player::JUMPER, Simple_Player::FLYER})
            for (int run = 0; run < runs; run++)
            {
                unsigned seed = static_cast<unsigned>(run + 1);
                std::srand(seed);
                Simple_Player player(kind, seed);
                lost[kind] += map.Play(*game, path, player, ticks);
            }
        Level& level = *game->levels[number];
        table += "| " + std::to_string(number) + " | " + std::to_string(lost[Simple_Player::JUMPER]) + " | " +
                 std::to_string(lost[Simple_Player::FLYER]) + " | " +
                 std::to_string(static_cast<int>(map.Mean_Sent_Back() + 0.5)) + " | " +
                 Screen_Counts(map, level.screens_wide) +
                 " |\n";
        std::printf("level %d: jumper %d, flyer %d lives lost in %d runs each, sent back %.0f px a life\n", number,
                    lost[Simple_Player::JUMPER], lost[Simple_Player::FLYER], runs, map.Mean_Sent_Back());
        if (number == 0)
        {
            int cleared = map.Jumps_Clearing_Pit(), fell = map.Jumps_Into_Pit();
            char line[256];
            std::snprintf(line, sizeof line,
                          "\nLevel 0: of the jumps taken before the first pit (x %d to %d) that did not land short of it, "
                          "%d cleared it and %d fell in (%d%% cleared); the first cherry (x %d) was eaten in %d of "
                          "%d runs (%d%%).\n",
                          map.pit_left, map.pit_right, cleared, fell, Share(cleared, cleared + fell), map.cherry_x,
                          map.cherry_eaten, map.runs, Share(map.cherry_eaten, map.runs));
            first_level_figures = line;
            std::fputs(line + 1, stdout);
        }
        // A fresh copy of the level, as it stands before play, under the spots.
        delete game->levels[number];
        game->levels[number] = new Level();
        game->levels[number]->Load(path);
        BITMAP* picture = Level_Overview::Draw(*game, *game->levels[number]);
        std::string file = out + "/deaths_" + std::to_string(number) + ".bmp";
        if (picture != nullptr)
        {
            map.Mark(picture, Level_Overview::Top(*game->levels[number]));
            if (save_bitmap(file.c_str(), picture, nullptr) != 0)
                picture = (destroy_bitmap(picture), nullptr);
            else
                destroy_bitmap(picture);
        }
        if (picture == nullptr)
        {
            std::fprintf(stderr, "bluejay_deaths: cannot write %s\n", file.c_str());
            status = 1;
        }
    }
    std::string report = out + "/deaths.md";
    Safe_File writer;
    if (!writer.Write(report, table + first_level_figures))
    {
        std::fprintf(stderr, "bluejay_deaths: cannot write %s: %s\n", report.c_str(), writer.reason.c_str());
        status = 1;
    }
    application = nullptr;
    delete game;
    return status;
}
END_OF_MAIN()
