// The game's own feeding of the sound device: an update a sound driver
// registers while the feeder catches is called from the feeder's thread a
// period apart (not every millisecond, as the library's thread calls it),
// and never again once the driver takes it out.

#include <atomic>
#include <chrono>
#include <thread>

#include <allegro.h>
#include <allegro/platform/aintunix.h>
#include <gtest/gtest.h>

#include "sound_feeder.h"

namespace
{
std::atomic<int> update_calls{0};
std::atomic<bool> called_on_test_thread{false};
std::thread::id test_thread;

void Counting_Update(int threaded)
{
    update_calls++;
    if (std::this_thread::get_id() == test_thread || threaded == 0)
        called_on_test_thread = true;
}

double Seconds_Since(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}
} // namespace

TEST(SoundFeederTest, FeedsACaughtUpdateOncePerPeriodUntilItIsTakenOut)
{
    // The library's threaded background manager, started here when the
    // system without a screen has none.
    bg_manager* before = _unix_bg_man;
    if (before == nullptr)
    {
        ASSERT_EQ(_bg_man_pthreads.init(), 0);
        _unix_bg_man = &_bg_man_pthreads;
    }
    test_thread = std::this_thread::get_id();

    Sound_Feeder::Start_Catching();
    ASSERT_EQ(_unix_bg_man->register_func(Counting_Update), 0);
    Sound_Feeder::Stop_Catching();
    ASSERT_TRUE(Sound_Feeder::Feeding());
    // 1024 frames at 44.1 kHz, the driver's own period with its settings.
    EXPECT_EQ(Sound_Feeder::Period_Microseconds(), 23219);

    auto start = std::chrono::steady_clock::now();
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    double seconds = Seconds_Since(start);
    long wake_ups = Sound_Feeder::Wake_Ups();
    EXPECT_GE(wake_ups, 1);
    EXPECT_LE(wake_ups, static_cast<long>(seconds * 1e6 / Sound_Feeder::Period_Microseconds()) + 2);
    // The first wake-up fills the device's five periods (and tries one
    // more); the later ones the periods played since, and a sixteenth more.
    double periods = seconds * 1e6 / Sound_Feeder::Period_Microseconds();
    EXPECT_GE(update_calls, 6);
    EXPECT_LE(update_calls, 6 + static_cast<int>(periods * 17 / 16) + 1);
    EXPECT_FALSE(called_on_test_thread);

    ASSERT_EQ(_unix_bg_man->unregister_func(Counting_Update), 0);
    int calls_when_taken_out = update_calls;
    std::this_thread::sleep_for(std::chrono::milliseconds(60));
    EXPECT_EQ(update_calls, calls_when_taken_out);

    Sound_Feeder::Stop();
    EXPECT_FALSE(Sound_Feeder::Feeding());
    if (before == nullptr)
    {
        _bg_man_pthreads.exit();
        _unix_bg_man = nullptr;
    }
}

TEST(SoundFeederTest, WorksOutThePeriodAsTheSoundDriverDoes)
{
    EXPECT_EQ(Sound_Feeder::Driver_Period_Frames(44100, 0, 5), 1024);
    EXPECT_EQ(Sound_Feeder::Driver_Period_Frames(22050, 0, 5), 512);
    EXPECT_EQ(Sound_Feeder::Driver_Period_Frames(48000, 0, 2), 4096);
    EXPECT_EQ(Sound_Feeder::Driver_Period_Frames(44100, 300, 5), 300);
}
