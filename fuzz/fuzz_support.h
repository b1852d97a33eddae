// What every fuzz harness shares: the game library brought up without a
// screen, the project's data found from the source directory, a scratch
// directory for the files the loaders read, and checks that stop the run
// with a message when the game breaks one of its own rules.

#ifndef BLUEJAY_FUZZ_SUPPORT_H
#define BLUEJAY_FUZZ_SUPPORT_H

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>
#include <unistd.h>

#include <allegro.h>

#include "application.h"
#include "level.h"

#ifndef BLUEJAY_SOURCE_DIR
#define BLUEJAY_SOURCE_DIR "."
#endif

// Stops the run, so that libFuzzer keeps the input, when a rule breaks.
#define FUZZ_CHECK(condition)                                                                                 \
    do                                                                                                        \
    {                                                                                                         \
        if (!(condition))                                                                                     \
        {                                                                                                     \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition);               \
            std::abort();                                                                                     \
        }                                                                                                     \
    } while (false)

namespace fuzz
{
// The scratch directory of this process, removed when it exits normally.
inline std::string& Scratch_Directory()
{
    static std::string path;
    return path;
}

inline void Remove_Scratch_Directory()
{
    std::error_code error;
    if (!Scratch_Directory().empty())
        std::filesystem::remove_all(Scratch_Directory(), error);
}

// The project directory, where data/ lives.
inline const char* Project_Directory()
{
    return BLUEJAY_SOURCE_DIR;
}

// Brings the game library up without a screen, goes to the project directory
// (the game reads data/ from the working directory) and makes the scratch
// directory. Called once, from LLVMFuzzerInitialize.
inline void Start()
{
    if (install_allegro(SYSTEM_NONE, &errno, atexit) != 0)
    {
        std::fprintf(stderr, "fuzz: cannot start the game library\n");
        std::exit(1);
    }
    set_color_depth(32);
    if (chdir(Project_Directory()) != 0)
    {
        std::fprintf(stderr, "fuzz: cannot go to %s\n", Project_Directory());
        std::exit(1);
    }
    char pattern[] = "/tmp/bluejay_fuzz_XXXXXX";
    const char* made = mkdtemp(pattern);
    if (made == nullptr)
    {
        std::fprintf(stderr, "fuzz: cannot make a scratch directory\n");
        std::exit(1);
    }
    Scratch_Directory() = made;
    std::atexit(Remove_Scratch_Directory);
}

inline std::string Scratch_Path(const std::string& name)
{
    return Scratch_Directory() + "/" + name;
}

// Writes bytes to a file of the scratch directory and returns its path.
inline std::string Write(const std::string& name, const uint8_t* data, size_t size)
{
    std::string path = Scratch_Path(name);
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    file.close();
    FUZZ_CHECK(file.good());
    return path;
}

inline std::string Read(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// An input made of a text part and a tail of key bytes, split at the first
// zero byte; without one, the whole input is text.
struct Split_Input
{
    const uint8_t* text;
    size_t text_size;
    const uint8_t* tail;
    size_t tail_size;
};

inline Split_Input Split(const uint8_t* data, size_t size)
{
    Split_Input split = {data, size, data + size, 0};
    for (size_t i = 0; i < size; i++)
    {
        if (data[i] == 0)
        {
            split.text_size = i;
            split.tail = data + i + 1;
            split.tail_size = size - i - 1;
            break;
        }
    }
    return split;
}

// The rules every level obeys after loading, whatever the file held.
inline void Check_Level_Tables(const Level& level)
{
    FUZZ_CHECK(level.number_of_characters >= 0 && level.number_of_characters <= Level::MAX_CHARACTERS);
    FUZZ_CHECK(level.number_of_platforms >= 0 && level.number_of_platforms <= Level::MAX_PLATFORMS);
}

// The one Application of a harness, with every picture loaded (from the
// project directory) when pictures is true.
inline Application& The_Application(bool pictures)
{
    static Application* game = nullptr;
    if (game == nullptr)
    {
        game = new Application();
        application = game;
        if (pictures)
        {
            game->Load_Resources();
            if (game->missing_resource[0] != '\0')
            {
                std::fprintf(stderr, "fuzz: cannot load %s\n", game->missing_resource);
                std::exit(1);
            }
        }
    }
    return *game;
}
} // namespace fuzz

#endif
