// Fuzzes loading a level map for play: any file must load into tables that
// stay within their bounds, a hero index that names the hero or none, a size
// in screens within the game's limits, and the same platforms, in the same
// order, as the editor reads from the same file.

#include "fuzz_support.h"

#include "character.h"
#include "platform.h"

namespace
{
// Play keeps positions near the origin; the editor keeps them as read.
int Played(int position)
{
    if (position > Level::MAX_POSITION)
        return Level::MAX_POSITION;
    if (position < -Level::MAX_POSITION)
        return -Level::MAX_POSITION;
    return position;
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::Start();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string path = fuzz::Write("level.map", data, size);

    Level* level = new Level();
    level->Load(path.c_str());
    fuzz::Check_Level_Tables(*level);
    for (int i = 0; i < Level::MAX_CHARACTERS; i++)
        FUZZ_CHECK((level->characters[i] != nullptr) == (i < level->number_of_characters));
    if (level->main_character != Level::NO_MAIN_CHARACTER)
    {
        FUZZ_CHECK(level->main_character >= 0 && level->main_character < level->number_of_characters);
        FUZZ_CHECK(level->characters[level->main_character]->type == Level::BLUEJAY);
        FUZZ_CHECK(level->Hero() != nullptr);
    }
    for (int i = 0; i < level->number_of_characters; i++)
    {
        const Character& character = *level->characters[i];
        FUZZ_CHECK(character.type >= Level::BLACK_BIRD && character.type <= Level::LAST_CHARACTER_TYPE);
        FUZZ_CHECK(character.bump_maps_loaded >= 0 && character.bump_maps_loaded <= Character::MAX_BUMP_MAPS);
        FUZZ_CHECK(character.x == character.start_x && character.y == character.start_y);
    }
    for (int i = 0; i < level->number_of_platforms; i++)
    {
        const Platform& platform = *level->platforms[i];
        FUZZ_CHECK(platform.type >= Level::BROWN_BLOCK && platform.type <= Level::TALL_VINE);
        FUZZ_CHECK(platform.bitmap >= 0 && platform.bitmap < Application::NUMBER_OF_BITMAPS);
    }
    FUZZ_CHECK(level->screens_wide >= 1 && level->screens_wide <= Level::MAX_SCREENS);
    FUZZ_CHECK(level->screens_high >= 1 && level->screens_high <= Level::MAX_SCREENS);

    // The editor reads the same entries; play keeps the platforms whose
    // codes it knows, in the file's order, and the same pointers.
    Level* edited = new Level();
    edited->Load_For_Editing(path.c_str());
    fuzz::Check_Level_Tables(*edited);
    FUZZ_CHECK(edited->background == level->background);
    FUZZ_CHECK(edited->music == level->music);
    if (edited->number_of_platforms < Level::MAX_PLATFORMS)
    {
        int played = 0;
        for (int i = 0; i < edited->number_of_platforms; i++)
        {
            const Map_Record& record = *edited->platform_records[i];
            if (record.type < Level::BROWN_BLOCK || record.type > Level::TALL_VINE)
                continue;
            FUZZ_CHECK(played < level->number_of_platforms);
            FUZZ_CHECK(level->platforms[played]->type == record.type);
            FUZZ_CHECK(level->platforms[played]->x == Played(record.x));
            FUZZ_CHECK(level->platforms[played]->y == Played(record.y));
            played++;
        }
        FUZZ_CHECK(played == level->number_of_platforms);
    }
    if (edited->number_of_characters < Level::MAX_CHARACTERS)
    {
        int played = 0;
        for (int i = 0; i < edited->number_of_characters; i++)
        {
            const Map_Record& record = *edited->character_records[i];
            Character* made = Level::Create_Character(record.type);
            if (made == nullptr)
                continue;
            delete made;
            FUZZ_CHECK(played < level->number_of_characters);
            FUZZ_CHECK(level->characters[played]->x == Played(record.x));
            FUZZ_CHECK(level->characters[played]->y == Played(record.y));
            played++;
        }
        FUZZ_CHECK(played == level->number_of_characters);
    }
    for (int i = 0; i < Level::NUMBER_OF_POINTERS; i++)
        FUZZ_CHECK(edited->pointers[i] == level->pointers[i]);

    delete edited;
    delete level;
    return 0;
}
