// Presses the close button of the game's window, as a window manager does
// when the player clicks it: sends WM_DELETE_WINDOW to every top-level
// window of the given name that takes that message.
//
//   bluejay_close_window [NAME]     (default "Bluejay"; DISPLAY as usual)
//
// Exits 0 when at least one window was sent the message.

#include <cstdio>
#include <cstring>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

int main(int argc, char* argv[])
{
    const char* name = argc > 1 ? argv[1] : "Bluejay";
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr)
    {
        std::fprintf(stderr, "Cannot open the display.\n");
        return 2;
    }
    Atom protocols = XInternAtom(display, "WM_PROTOCOLS", False);
    Atom delete_window = XInternAtom(display, "WM_DELETE_WINDOW", False);
    Window root = DefaultRootWindow(display), parent = 0, *children = nullptr;
    unsigned int count = 0;
    int sent = 0;
    if (XQueryTree(display, root, &root, &parent, &children, &count))
    {
        for (unsigned int i = 0; i < count; i++)
        {
            char* window_name = nullptr;
            bool named = XFetchName(display, children[i], &window_name) && window_name != nullptr &&
                         std::strcmp(window_name, name) == 0;
            if (window_name != nullptr)
                XFree(window_name);
            Atom* accepted = nullptr;
            int accepted_count = 0;
            bool takes_delete = false;
            if (named && XGetWMProtocols(display, children[i], &accepted, &accepted_count))
            {
                for (int j = 0; j < accepted_count; j++)
                    takes_delete = takes_delete || accepted[j] == delete_window;
                XFree(accepted);
            }
            if (!takes_delete)
                continue;
            XEvent event;
            std::memset(&event, 0, sizeof(event));
            event.xclient.type = ClientMessage;
            event.xclient.window = children[i];
            event.xclient.message_type = protocols;
            event.xclient.format = 32;
            event.xclient.data.l[0] = static_cast<long>(delete_window);
            event.xclient.data.l[1] = CurrentTime;
            XSendEvent(display, children[i], False, NoEventMask, &event);
            sent++;
        }
        if (children != nullptr)
            XFree(children);
    }
    XFlush(display);
    XCloseDisplay(display);
    if (sent == 0)
        std::fprintf(stderr, "No window \"%s\" takes WM_DELETE_WINDOW.\n", name);
    return sent > 0 ? 0 : 1;
}
