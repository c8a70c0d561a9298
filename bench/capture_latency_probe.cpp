// Times captures from X events, not by polling: presses a hot key N times (through XTest,
// as xdotool does) and prints, for each press, the milliseconds until the notification
// window is viewable and until the CLIPBOARD owner changed (watched until the window hides
// again, so that a copy after the notification counts too), then the medians.
//   quillet-capture-latency-probe [--key F4 | --run COMMAND] [--count N] [--gap MS]
//                                 [--timeout MS]
// Time zero is taken just before the key's press leaves for the server, so every figure
// includes its trip there. With --run, the shell command (`quillet --hotkey 2`, as a
// desktop's shortcut runs it) is started at time zero instead of a key. Exit status 1 when a
// window did not show or hide in time.
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/extensions/Xfixes.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <spawn.h>
#include <string>
#include <sys/select.h>
#include <sys/wait.h>
#include <thread>
#include <vector>

namespace {

Display* display;
Window root;
int fixesEvent;
const char* const Title = "Information..";

double nowMs() {
    using namespace std::chrono;
    return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

// The next event before the deadline; false when the time is up.
bool nextEvent(XEvent& event, double deadline) {
    for (;;) {
        if (XPending(display)) {
            XNextEvent(display, &event);
            return true;
        }
        const double left = deadline - nowMs();
        if (left <= 0)
            return false;
        fd_set fds;
        FD_ZERO(&fds);
        FD_SET(ConnectionNumber(display), &fds);
        timeval wait{static_cast<long>(left / 1000), static_cast<long>(left * 1000) % 1000000};
        select(ConnectionNumber(display) + 1, &fds, nullptr, nullptr, &wait);
    }
}

bool named(Window window) {
    char* name = nullptr;
    const bool match = XFetchName(display, window, &name) && name && std::strcmp(name, Title) == 0;
    if (name)
        XFree(name);
    return match;
}

// The notification window below `top`, or 0.
Window find(Window top) {
    if (named(top))
        return top;
    Window rootReturn, parent, *children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(display, top, &rootReturn, &parent, &children, &count))
        return 0;
    Window found = 0;
    for (unsigned i = 0; i < count && !found; ++i)
        found = find(children[i]);
    if (children)
        XFree(children);
    return found;
}

bool viewable(Window window) {
    XWindowAttributes a;
    return window && XGetWindowAttributes(display, window, &a) && a.map_state == IsViewable;
}

bool isOwnerChange(const XEvent& event, Atom clipboard) {
    if (event.type != fixesEvent + XFixesSelectionNotify)
        return false;
    const auto& notice = reinterpret_cast<const XFixesSelectionNotifyEvent&>(event);
    return notice.selection == clipboard && notice.owner != None;
}

void summary(const char* what, std::vector<double> values) {
    if (values.empty()) {
        std::printf("%s: no values\n", what);
        return;
    }
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    const double median = n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
    std::printf("%s: n=%zu median=%.1f min=%.1f max=%.1f ms\n", what, n, median, values.front(),
                values.back());
}

// Reports the window's own map, which may come after its frame's.
Window watch(Window window) {
    if (window)
        XSelectInput(display, window, StructureNotifyMask);
    return window;
}

int ignoreErrors(Display*, XErrorEvent*) {
    return 0; // windows come and go while they are looked at
}

} // namespace

int main(int argc, char** argv) {
    std::string key = "F4", command;
    int count = 10;
    double gapMs = 300, timeoutMs = 10000;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        if (option == "--key")
            key = argv[i + 1];
        else if (option == "--run")
            command = argv[i + 1];
        else if (option == "--count")
            count = std::atoi(argv[i + 1]);
        else if (option == "--gap")
            gapMs = std::atof(argv[i + 1]);
        else if (option == "--timeout")
            timeoutMs = std::atof(argv[i + 1]);
        else {
            std::fprintf(stderr, "unknown option %s\n", argv[i]);
            return 2;
        }
    }
    display = XOpenDisplay(nullptr);
    int error = 0, major = 0, minor = 0, opcode = 0;
    if (!display || !XFixesQueryExtension(display, &fixesEvent, &error) ||
        !XTestQueryExtension(display, &opcode, &error, &major, &minor)) {
        std::fprintf(stderr, "needs an X display with XFixes and XTest\n");
        return 2;
    }
    XSetErrorHandler(ignoreErrors);
    root = DefaultRootWindow(display);
    const KeyCode code = XKeysymToKeycode(display, XStringToKeysym(key.c_str()));
    const Atom clipboard = XInternAtom(display, "CLIPBOARD", False);
    XSelectInput(display, root, SubstructureNotifyMask);
    XFixesSelectSelectionInput(display, root, clipboard, XFixesSetSelectionOwnerNotifyMask);

    std::vector<double> shown, owned;
    XEvent event;
    Window target = watch(find(root));
    for (int i = 1; i <= count; ++i) {
        // The previous notification must be gone, or it would count as this one.
        for (const double end = nowMs() + timeoutMs; viewable(target) && nowMs() < end;)
            nextEvent(event, nowMs() + 20);
        if (viewable(target)) {
            std::printf("capture %d: the notification stays up\n", i);
            return 1;
        }
        std::this_thread::sleep_for(std::chrono::duration<double, std::milli>(gapMs));
        while (XPending(display))
            XNextEvent(display, &event);

        XSync(display, False);
        const double pressed = nowMs();
        pid_t child = 0;
        if (command.empty()) {
            XTestFakeKeyEvent(display, code, True, CurrentTime);
            XTestFakeKeyEvent(display, code, False, CurrentTime);
            XFlush(display);
        } else {
            const char* shell[] = {"/bin/sh", "-c", command.c_str(), nullptr};
            if (posix_spawn(&child, shell[0], nullptr, nullptr, const_cast<char**>(shell),
                            environ) != 0) {
                std::printf("capture %d: cannot run %s\n", i, command.c_str());
                return 1;
            }
        }
        double shownAt = -1, ownedAt = -1;
        const double deadline = pressed + timeoutMs;
        while (shownAt < 0 && nextEvent(event, deadline)) {
            const double at = nowMs();
            if (isOwnerChange(event, clipboard)) {
                if (ownedAt < 0)
                    ownedAt = at;
            } else if (event.type == CreateNotify && event.xcreatewindow.parent == root) {
                // A program may make a new window for each notification: see it map.
                XSelectInput(display, event.xcreatewindow.window, StructureNotifyMask);
            } else if (event.type == MapNotify) {
                if (!viewable(target))
                    target = watch(find(root));
                if (viewable(target))
                    shownAt = at;
            }
        }
        if (shownAt < 0) {
            std::printf("capture %d: no notification within %.0f ms\n", i, timeoutMs);
            return 1;
        }
        for (const double end = nowMs() + timeoutMs; viewable(target) && nowMs() < end;)
            if (nextEvent(event, nowMs() + 20) && ownedAt < 0 && isOwnerChange(event, clipboard))
                ownedAt = nowMs();
        if (child)
            waitpid(child, nullptr, 0);
        shown.push_back(shownAt - pressed);
        std::printf("capture %d: notification after %.1f ms; clipboard owner changed after ", i,
                    shownAt - pressed);
        if (ownedAt >= 0) {
            owned.push_back(ownedAt - pressed);
            std::printf("%.1f ms\n", ownedAt - pressed);
        } else {
            std::printf("- (not while the notification was up)\n");
        }
        std::fflush(stdout);
    }
    const char* start = command.empty() ? "key" : "command";
    summary((std::string(start) + " to notification").c_str(), shown);
    summary((std::string(start) + " to clipboard owner").c_str(), owned);
    return 0;
}
