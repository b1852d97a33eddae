#ifndef BLUEJAY_SOUND_FEEDER_H
#define BLUEJAY_SOUND_FEEDER_H

// Keeps the sound device fed with fewer wake-ups than the library does.
//
// The library's digital sound driver hands its update to the library's
// background thread, which calls it every millisecond; each call writes at
// most one period of mixed sound (1024 frames, 23 ms at 44.1 kHz) when the
// device has room for one, and nothing the other 22 times. The game catches
// that update as the driver is installed and calls it itself, from a thread
// of its own that wakes once a period and writes what was played since:
// about 43 wake-ups a second instead of a thousand, the same periods queued
// in the device as before, so the sound keeps its lead over the device and
// an effect started by the game goes into the next period mixed, as before.
// The background thread is then left with the window alone, and the game
// parks it (Window_System).
//
// Anywhere the catch cannot be made (a library without the threaded
// background manager, a driver that registers no update) the library's own
// thread goes on as it would, and Feeding() says false.
class Sound_Feeder
{
public:
    // Around install_sound: the updates registered in between are the
    // feeder's. Stop_Catching starts the thread when one was caught.
    static void Start_Catching();
    static void Stop_Catching();
    static bool Feeding();
    // Ends the thread, after its call in progress; run at exit too, before
    // the library shuts its sound down.
    static void Stop();

    // What the thread does, for the benchmark and the sound test: its
    // wake-ups so far, the period it wakes at and the longest time it went
    // without feeding, in microseconds. The device runs dry only when that
    // time passes the periods it holds (five, unless the settings say
    // otherwise).
    static long Wake_Ups();
    static long Period_Microseconds();
    static long Longest_Wait_Microseconds();

    // The period the library's sound driver asks the device for, as it
    // works it out: its alsa_fragsize setting, or the power of two that
    // splits a tenth of a second into its alsa_numfrags periods.
    static int Driver_Period_Frames(int rate, int fragment_setting, int fragments);
};

#endif
