// Stands in for a compositing manager: owns the screen's _NET_WM_CM_S<n>
// selection, as they do, until killed; prints "owned" once it does.
#include <X11/Xlib.h>

#include <cstdio>
#include <string>
#include <unistd.h>

int main()
{
    Display* display = XOpenDisplay(nullptr);
    if (!display)
        return 1;
    const std::string name = "_NET_WM_CM_S" + std::to_string(DefaultScreen(display));
    const Window owner =
        XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 1, 1, 0, 0, 0);
    XSetSelectionOwner(display, XInternAtom(display, name.c_str(), False), owner, CurrentTime);
    XSync(display, False);
    std::puts("owned");
    std::fflush(stdout);
    pause();
}
