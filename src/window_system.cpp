#include "window_system.h"

#include <cstdio>
#include <cstdlib>
#include <poll.h>

#include <allegro.h>

#include "sound_feeder.h"

#if defined(ALLEGRO_UNIX) && defined(ALLEGRO_WITH_XWINDOWS) && !defined(ALLEGRO_MACOSX)
#define BLUEJAY_X11_PORT 1
#include <xalleg.h>

// The library's own update of a screen area (its drawing calls end with it):
// the area converted to the window's format when the two differ, then put
// into the window. Exported by the library, though no header names it.
extern "C" void _xwin_update_screen(int x, int y, int w, int h);
#endif

namespace
{
bool events_taken = false;
bool give_back_at_exit = false;
long frames_sent = 0;
long areas_sent = 0;
long long pixels_sent = 0;

#ifdef BLUEJAY_X11_PORT
// The library takes at most 50 events a call; a tick of fast mouse moves in
// the editor can bring more.
const int MOST_EVENT_ROUNDS = 8;

bool On_X11()
{
    return system_driver != nullptr && system_driver->id == SYSTEM_XWINDOWS && _xwin.display != nullptr;
}
#endif

void Give_Back_At_Exit()
{
    Window_System::Give_Back_Events();
}

#ifdef BLUEJAY_X11_PORT
// Xlib ends the program when the server goes away (or on a protocol error),
// from inside the call that found it: with the events taken in on the main
// thread that is inside the library's lock, which the thread let go at exit
// would wait for while the library's shutdown waits for the thread. The
// program ends here at once instead, with the status Xlib's own handlers give.
int End_On_Lost_Server(Display*)
{
    std::fputs("The connection to the X server was lost.\n", stderr);
    std::_Exit(1);
}

int End_On_Server_Error(Display* display, XErrorEvent* error)
{
    char text[256];
    XGetErrorText(display, error->error_code, text, sizeof(text));
    std::fprintf(stderr, "X error: %s (request %d.%d)\n", text, error->request_code, error->minor_code);
    std::_Exit(1);
}
#endif
} // namespace

void Window_System::Take_Over_Events()
{
#ifdef BLUEJAY_X11_PORT
    // Digital sound the game does not feed itself is mixed on the same
    // thread; then it keeps running as the library made it.
    bool sound_on_thread = digi_driver != nullptr && digi_driver->id != DIGI_NONE && !Sound_Feeder::Feeding();
    if (events_taken || !On_X11() || _unix_bg_man == nullptr || !_unix_bg_man->multi_threaded || sound_on_thread)
        return;
    // With interrupts held the thread sleeps on a condition (after at most
    // 10 ms more of its polling) until they are allowed again.
    XSetIOErrorHandler(End_On_Lost_Server);
    XSetErrorHandler(End_On_Server_Error);
    _unix_bg_man->disable_interrupts();
    events_taken = true;
    // The library's shutdown waits for the thread to finish, which a parked
    // thread never would; this runs before it (handlers run in the reverse
    // order of their registration, and the library registered at its start).
    if (!give_back_at_exit)
    {
        give_back_at_exit = true;
        std::atexit(Give_Back_At_Exit);
    }
#endif
}

void Window_System::Give_Back_Events()
{
#ifdef BLUEJAY_X11_PORT
    if (!events_taken)
        return;
    events_taken = false;
    if (_unix_bg_man != nullptr)
        _unix_bg_man->enable_interrupts();
#endif
}

bool Window_System::Events_Taken_Over()
{
    return events_taken;
}

void Window_System::Take_Events()
{
#ifdef BLUEJAY_X11_PORT
    if (!events_taken || !On_X11())
        return;
    // Nothing has come from the server and nothing waits in the queue (most
    // ticks): the requests buffered go off, without the round trip to the
    // server the library's handler makes. With the event thread parked no
    // other thread talks to the server.
    pollfd connection = {ConnectionNumber(_xwin.display), POLLIN, 0};
    if (XQLength(_xwin.display) == 0 && poll(&connection, 1, 0) == 0)
    {
        XFlush(_xwin.display);
        return;
    }
    // Each call sends what is buffered, waits for the server to answer and
    // hands on the events it has; more rounds only when more are queued.
    for (int round = 0; round < MOST_EVENT_ROUNDS; round++)
    {
        _xwin_handle_input();
        if (XQLength(_xwin.display) == 0)
            break;
    }
#endif
}

bool Window_System::Screen_Takes_Areas()
{
#ifdef BLUEJAY_X11_PORT
    return On_X11() && gfx_driver != nullptr &&
           (gfx_driver->id == GFX_XWINDOWS || gfx_driver->id == GFX_XWINDOWS_FULLSCREEN) && screen != nullptr &&
           is_linear_bitmap(screen);
#else
    return false;
#endif
}

void Window_System::Send_Area(int x, int y, int width, int height)
{
#ifdef BLUEJAY_X11_PORT
    if (!Screen_Takes_Areas())
        return;
    areas_sent++;
    pixels_sent += static_cast<long long>(width) * height;
    _xwin_update_screen(x, y, width, height);
#else
    (void)x;
    (void)y;
    (void)width;
    (void)height;
#endif
}

void Window_System::Send_Off()
{
#ifdef BLUEJAY_X11_PORT
    if (!Screen_Takes_Areas())
        return;
    frames_sent++;
    // The requests would otherwise wait in the buffer for the next round
    // trip, a tick later when the game takes the events itself.
    acquire_screen();
    XFlush(_xwin.display);
    release_screen();
#endif
}

long Window_System::Frames_Sent()
{
    return frames_sent;
}

long Window_System::Areas_Sent()
{
    return areas_sent;
}

long long Window_System::Pixels_Sent()
{
    return pixels_sent;
}
