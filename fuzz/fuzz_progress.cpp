// Fuzzes the progress file: any file is read without harm, leaves either no
// progress at all or values the game can use, and what is read is written
// back and read again unchanged.

#include <cstdio>

#include "fuzz_support.h"

#include "progress.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::Start();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string path = fuzz::Write("progress.txt", data, size);
    Progress progress;
    bool read = progress.Load(path);
    FUZZ_CHECK(progress.furthest_level >= 0 && progress.furthest_level < Application::NUMBER_OF_LEVELS);
    FUZZ_CHECK(progress.best_score >= 0);
    FUZZ_CHECK(progress.movie_level == Progress::NO_MOVIE ||
               (progress.movie_level >= 0 && progress.movie_level < Application::NUMBER_OF_LEVELS));
    FUZZ_CHECK(progress.movie_length >= 0 && progress.movie_length <= Application::MAX_SIGNAL_BUFFER_LENGTH);
    if (!read)
    {
        FUZZ_CHECK(progress.furthest_level == 0 && progress.best_score == 0);
        FUZZ_CHECK(progress.movie_level == Progress::NO_MOVIE);
        return 0;
    }

    // A save merges with the file already there (another game's), so each
    // round writes where no earlier round's file is.
    std::string saved = fuzz::Scratch_Path("saved.txt");
    std::remove(saved.c_str());
    std::string reason;
    FUZZ_CHECK(progress.Save(saved, reason));
    Progress again;
    FUZZ_CHECK(again.Load(saved));
    FUZZ_CHECK(again.furthest_level == progress.furthest_level && again.best_score == progress.best_score);
    FUZZ_CHECK(again.movie_level == progress.movie_level && again.movie_length == progress.movie_length &&
               again.movie_checksum == progress.movie_checksum && again.movie_start.lives == progress.movie_start.lives &&
               again.movie_start.eggs == progress.movie_start.eggs &&
               again.movie_start.points == progress.movie_start.points);
    return 0;
}
