// Fuzzes the key-script reader the tools and tests share: any text is either
// refused with the line it stops at, or read into signal words made only of
// the named keys' bits, never more ticks than a script may hold, and a named
// level is one of the game's.

#include "fuzz_support.h"

#include "tick_input.h"

namespace
{
const int EVERY_KEY = Application::SIGNAL_LEFT | Application::SIGNAL_RIGHT | Application::SIGNAL_UP |
                      Application::SIGNAL_DOWN | Application::SIGNAL_FLY | Application::SIGNAL_PAUSE |
                      Application::SIGNAL_START | Application::SIGNAL_QUIT | Application::SIGNAL_DELETE;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Tick_Input input;
    std::string text(reinterpret_cast<const char*>(data), size);
    if (!input.Read_Script_Text(text, "script"))
    {
        FUZZ_CHECK(input.error.compare(0, 7, "script:") == 0);
        return 0;
    }
    FUZZ_CHECK(input.error.empty());
    FUZZ_CHECK(static_cast<long>(input.words.size()) <= Tick_Input::MOST_TICKS);
    FUZZ_CHECK(input.level >= -1 && input.level < Application::NUMBER_OF_LEVELS);
    for (int word : input.words)
        FUZZ_CHECK((word & ~EVERY_KEY) == 0);
    return 0;
}
