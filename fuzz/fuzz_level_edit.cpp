// Fuzzes the editor's form of a level map: any file is read, saved and read
// again, and the second reading holds exactly the records, background, music
// and pointers of the first; saving that again writes the same bytes. A level
// counts as unchanged right after it is read and after it is saved, and a
// file the editor wrote reads to its end.

#include "fuzz_support.h"

namespace
{
void Check_Same(const Level& first, const Level& second)
{
    FUZZ_CHECK(first.background == second.background);
    FUZZ_CHECK(first.music == second.music);
    FUZZ_CHECK(first.number_of_characters == second.number_of_characters);
    FUZZ_CHECK(first.number_of_platforms == second.number_of_platforms);
    for (int i = 0; i < first.number_of_characters; i++)
    {
        FUZZ_CHECK(first.character_records[i]->type == second.character_records[i]->type);
        FUZZ_CHECK(first.character_records[i]->x == second.character_records[i]->x);
        FUZZ_CHECK(first.character_records[i]->y == second.character_records[i]->y);
    }
    for (int i = 0; i < first.number_of_platforms; i++)
    {
        FUZZ_CHECK(first.platform_records[i]->type == second.platform_records[i]->type);
        FUZZ_CHECK(first.platform_records[i]->x == second.platform_records[i]->x);
        FUZZ_CHECK(first.platform_records[i]->y == second.platform_records[i]->y);
    }
    for (int i = 0; i < Level::NUMBER_OF_POINTERS; i++)
        FUZZ_CHECK(first.pointers[i] == second.pointers[i]);
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::Start();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string source = fuzz::Write("source.map", data, size);
    std::string saved = fuzz::Scratch_Path("saved.map");
    std::string saved_again = fuzz::Scratch_Path("saved_again.map");

    Level* first = new Level();
    first->Load_For_Editing(source.c_str());
    fuzz::Check_Level_Tables(*first);
    FUZZ_CHECK(!first->Changed());
    FUZZ_CHECK((first->load_problem == nullptr) == (first->load_problem_line == 0));
    FUZZ_CHECK(first->Save(saved.c_str()));
    FUZZ_CHECK(!first->Changed());
    FUZZ_CHECK(first->load_problem == nullptr);

    Level* second = new Level();
    second->Load_For_Editing(saved.c_str());
    FUZZ_CHECK(second->load_problem == nullptr);
    FUZZ_CHECK(!second->Changed());
    Check_Same(*first, *second);
    FUZZ_CHECK(second->Save(saved_again.c_str()));
    FUZZ_CHECK(fuzz::Read(saved) == fuzz::Read(saved_again));

    // Nothing is left beside the saved maps.
    FUZZ_CHECK(!std::filesystem::exists(saved + ".tmp"));

    delete second;
    delete first;
    return 0;
}
