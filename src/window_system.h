#ifndef BLUEJAY_WINDOW_SYSTEM_H
#define BLUEJAY_WINDOW_SYSTEM_H

// The few places the game talks to the library's X11 port itself, to spend
// less of the processor between frames than the library does on its own:
//
// - The window's events. The library looks after them on a background
//   thread that wakes every millisecond (and asks the X server for a round
//   trip every ten), about a thousand wake-ups a second. When that thread has
//   nothing else to do (no digital sound is mixed on it) the game parks it
//   and takes the events in itself, once a tick, just before it reads the
//   keys: the keys, the mouse, the close button and the focus reach the
//   game at the same tick as before, with no wake-up in between.
// - The canvas on the screen. Written a line at a time, the library sends
//   every line to the window as a request of its own (448 in a window, 1080
//   on a full screen); written straight into the screen's lines it goes as
//   one request for the whole area, sent off at once.
//
// Anywhere else (no X11 screen, headless runs, the tests) nothing changes
// and each call does nothing or says so.
class Window_System
{
public:
    // Parks the library's event thread when the screen is an X11 one and
    // the thread has only the window to look after; from then on
    // Take_Events must be called every tick. Give_Back (also run at exit,
    // before the library shuts down) lets the thread run again.
    static void Take_Over_Events();
    static void Give_Back_Events();
    static bool Events_Taken_Over();
    // The window's waiting events handed to the library's keyboard, mouse
    // and window handlers; nothing while the thread runs by itself.
    static void Take_Events();

    // True when the screen's lines may be written straight and the area
    // then sent with Send_Area (an X11 window or full screen, laid out in
    // lines).
    static bool Screen_Takes_Areas();
    // Puts an area of the screen, whose lines were written straight, into
    // the window as one update; Send_Off then sends the updates buffered.
    static void Send_Area(int x, int y, int width, int height);
    static void Send_Off();
    // What was sent so far: the frames sent off, the updates and their
    // pixels (each pixel four bytes through the shared image).
    static long Frames_Sent();
    static long Areas_Sent();
    static long long Pixels_Sent();
};

#endif
