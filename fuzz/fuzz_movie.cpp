// Fuzzes the demo movie: any file is read, written back and read again, and
// the second reading holds the same level number and the same words; the
// demo always plays on a level of the game.

#include "fuzz_support.h"

#include <vector>

namespace
{
void Forget_Movie(Application& game)
{
    game.movie_level = 0;
    game.signal_buffer_length = 0;
    game.signal_buffer_position = 0;
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::Start();
    fuzz::The_Application(false);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Application& game = fuzz::The_Application(false);
    std::string path = fuzz::Write("movie.dat", data, size);
    std::string saved = fuzz::Scratch_Path("saved.dat");

    Forget_Movie(game);
    game.Load_Movie(path.c_str());
    FUZZ_CHECK(game.signal_buffer_length >= 0 && game.signal_buffer_length <= Application::MAX_SIGNAL_BUFFER_LENGTH);
    FUZZ_CHECK(game.Movie_Level_Index() >= 0 && game.Movie_Level_Index() < Application::NUMBER_OF_LEVELS);
    int level = game.movie_level;
    std::vector<int> words(game.signal_buffer, game.signal_buffer + game.signal_buffer_length);

    FUZZ_CHECK(game.Save_Movie(saved.c_str()));
    FUZZ_CHECK(!std::filesystem::exists(saved + ".tmp"));
    std::string written = fuzz::Read(saved);

    Forget_Movie(game);
    game.Load_Movie(saved.c_str());
    FUZZ_CHECK(game.movie_level == level);
    FUZZ_CHECK(game.signal_buffer_length == static_cast<int>(words.size()));
    for (int i = 0; i < game.signal_buffer_length; i++)
        FUZZ_CHECK(game.signal_buffer[i] == words[i]);

    // Written again, the file is the same to the byte.
    FUZZ_CHECK(game.Save_Movie(saved.c_str()));
    FUZZ_CHECK(fuzz::Read(saved) == written);
    return 0;
}
