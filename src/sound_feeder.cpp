#include "sound_feeder.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <mutex>
#include <thread>
#include <vector>

#include <allegro.h>

#if defined(ALLEGRO_UNIX) && !defined(ALLEGRO_MACOSX)
#define BLUEJAY_UNIX_BACKGROUND 1
#include <allegro/internal/aintern.h>
#include <allegro/platform/aintunix.h>
#endif

namespace
{
// What the library's sound driver asks for unless its settings say
// otherwise: 44.1 kHz, five periods.
const int DEFAULT_RATE = 44100;
const int DEFAULT_FRAGMENTS = 5;

std::atomic<long> wake_ups{0};
std::atomic<long> longest_wait{0};
long period_microseconds = 0;

#ifdef BLUEJAY_UNIX_BACKGROUND
// The library's background manager, and the one the game puts in its place
// while the sound is installed: the same but for where updates go.
bg_manager* library_manager = nullptr;
bg_manager catching_manager;
bool catching = false;

// The caught updates; the thread calls them holding the lock, so one taken
// out is never called again once its removal returns.
std::mutex updates_lock;
std::vector<bg_func> updates;
// A device's full of periods, and one more.
int most_calls = 1;

std::thread feeder;
std::mutex wake_lock;
std::condition_variable wake;
bool stopping = false;
bool stop_at_exit = false;

int Catch_Register(bg_func update)
{
    if (!catching)
        return library_manager->register_func(update);
    std::lock_guard<std::mutex> hold(updates_lock);
    updates.push_back(update);
    return 0;
}

int Catch_Unregister(bg_func update)
{
    {
        std::lock_guard<std::mutex> hold(updates_lock);
        auto found = std::find(updates.begin(), updates.end(), update);
        if (found != updates.end())
        {
            updates.erase(found);
            return 0;
        }
    }
    return library_manager->unregister_func(update);
}

// Each call of the driver's update writes one period when the device has
// room for one. The first wake-up fills the device; each later one offers it
// the periods its clock says were played since, and a sixteenth more: a
// device whose clock runs a little ahead of this one finds them (the offers
// it has no room for cost a look and nothing else), and one that takes
// whatever it is given (a null device, a file) gets the sound in about its
// own time, not as fast as the mixer can make it, which would leave the
// music's notes, timed by the clock, ever longer in the sound. A late
// wake-up makes up for the periods it missed, at most a device's full.
void Feed(std::chrono::microseconds period)
{
    const double OFFERED = 1.0 + 1.0 / 16.0;
    auto last = std::chrono::steady_clock::now();
    auto next = last;
    int calls = most_calls;
    double owed = 0.0;
    std::unique_lock<std::mutex> waiting(wake_lock);
    while (!stopping)
    {
        waiting.unlock();
        {
            std::lock_guard<std::mutex> hold(updates_lock);
            for (int call = 0; call < calls; call++)
                for (bg_func update : updates)
                    update(1);
        }
        wake_ups++;
        waiting.lock();
        next += period;
        auto now = std::chrono::steady_clock::now();
        if (next < now)
            next = now;
        wake.wait_until(waiting, next, [] { return stopping; });
        now = std::chrono::steady_clock::now();
        long waited = static_cast<long>(std::chrono::duration_cast<std::chrono::microseconds>(now - last).count());
        last = now;
        if (waited > longest_wait)
            longest_wait = waited;
        owed = std::min(owed + OFFERED * static_cast<double>(waited) / static_cast<double>(period.count()),
                        static_cast<double>(most_calls));
        calls = static_cast<int>(owed);
        owed -= calls;
    }
}

void Stop_At_Exit()
{
    Sound_Feeder::Stop();
}
#endif
} // namespace

int Sound_Feeder::Driver_Period_Frames(int rate, int fragment_setting, int fragments)
{
    if (fragment_setting > 0)
        return fragment_setting;
    int wanted = rate / 10 / std::max(fragments, 1);
    int frames = 1;
    while (frames < wanted)
        frames *= 2;
    return frames;
}

void Sound_Feeder::Start_Catching()
{
#ifdef BLUEJAY_UNIX_BACKGROUND
    if (catching || _unix_bg_man == nullptr || !_unix_bg_man->multi_threaded)
        return;
    if (_unix_bg_man != &catching_manager)
    {
        library_manager = _unix_bg_man;
        catching_manager = *library_manager;
        catching_manager.register_func = Catch_Register;
        catching_manager.unregister_func = Catch_Unregister;
        _unix_bg_man = &catching_manager;
    }
    catching = true;
#endif
}

void Sound_Feeder::Stop_Catching()
{
#ifdef BLUEJAY_UNIX_BACKGROUND
    if (!catching)
        return;
    catching = false;
    std::lock_guard<std::mutex> hold(updates_lock);
    if (updates.empty() || feeder.joinable())
        return;
    // The period the driver asked the device for, from the same settings.
    int rate = _sound_freq > 0 ? _sound_freq : DEFAULT_RATE;
    int fragments = get_config_int("sound", "alsa_numfrags", DEFAULT_FRAGMENTS);
    int frames = Driver_Period_Frames(rate, get_config_int("sound", "alsa_fragsize", 0), fragments);
    period_microseconds = std::max(1000L, 1000000L * frames / rate);
    most_calls = std::max(fragments, 1) + 1;
    stopping = false;
    try
    {
        feeder = std::thread(Feed, std::chrono::microseconds(period_microseconds));
    }
    catch (const std::system_error&)
    {
        // No thread: the library's own goes on calling them.
        for (bg_func update : updates)
            library_manager->register_func(update);
        updates.clear();
        return;
    }
    // Before the library's own shutdown, registered at its start.
    if (!stop_at_exit)
    {
        stop_at_exit = true;
        std::atexit(Stop_At_Exit);
    }
#endif
}

bool Sound_Feeder::Feeding()
{
#ifdef BLUEJAY_UNIX_BACKGROUND
    return feeder.joinable();
#else
    return false;
#endif
}

void Sound_Feeder::Stop()
{
#ifdef BLUEJAY_UNIX_BACKGROUND
    if (!feeder.joinable())
        return;
    {
        std::lock_guard<std::mutex> hold(wake_lock);
        stopping = true;
    }
    wake.notify_all();
    feeder.join();
#endif
}

long Sound_Feeder::Wake_Ups()
{
    return wake_ups;
}

long Sound_Feeder::Longest_Wait_Microseconds()
{
    return longest_wait;
}

long Sound_Feeder::Period_Microseconds()
{
    return period_microseconds;
}
