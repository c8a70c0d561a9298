#include "platform/platform.h"

#include "capture/capture_table.h"
#include "platform/hotkey_delivery.h"
#include "platform/instance_link.h"
#include "platform/linux_backends.h"
#include "platform/terminals.h"
#include "platform/x11_clipboard.h"

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QWindow>
#include <QtGui/qguiapplication_platform.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <map>
#include <set>
#include <vector>

namespace quillet {

namespace {

// Win32 hot-key modifier values, as the capture table holds them.
constexpr unsigned ModAlt = 0x1;
constexpr unsigned ModShift = 0x4;
constexpr unsigned ModWin = 0x8;

// The state bits that can tell two key presses apart; pointer buttons are not among them.
constexpr unsigned KeyboardModifierBits =
    ShiftMask | LockMask | ControlMask | Mod1Mask | Mod2Mask | Mod3Mask | Mod4Mask | Mod5Mask;

// Catches the errors of the requests made while it lives instead of letting Xlib's default
// handler end the program. Xlib's handler is process-wide, so the catch is scoped tightly.
class XErrorTrap {
public:
    explicit XErrorTrap(Display* display) : display_(display) {
        XSync(display_, False);
        errorCount_ = 0;
        firstError_ = Success;
        previous_ = XSetErrorHandler(&XErrorTrap::record);
    }
    ~XErrorTrap() {
        XSync(display_, False);
        XSetErrorHandler(previous_);
    }
    XErrorTrap(const XErrorTrap&) = delete;
    XErrorTrap& operator=(const XErrorTrap&) = delete;

    // Waits for the server to answer everything sent so far.
    bool failed() {
        XSync(display_, False);
        return errorCount_ > 0;
    }
    // The code of the first error caught (BadAccess, ...), once failed() said so.
    int firstError() const { return firstError_; }

private:
    static int record(Display*, XErrorEvent* error) {
        if (errorCount_++ == 0)
            firstError_ = error->error_code;
        return 0;
    }

    static inline int errorCount_ = 0;
    static inline int firstError_ = Success;
    Display* display_;
    int (*previous_)(Display*, XErrorEvent*) = nullptr;
};

// One passive grab of a key on the root window; released when dropped.
class KeyGrab {
public:
    KeyGrab(Display* display, Window root, int keycode, unsigned modifiers)
        : display_(display), root_(root), keycode_(keycode), modifiers_(modifiers) {
        XGrabKey(display_, keycode_, modifiers_, root_, False, GrabModeAsync, GrabModeAsync);
    }
    ~KeyGrab() { XUngrabKey(display_, keycode_, modifiers_, root_); }
    KeyGrab(const KeyGrab&) = delete;
    KeyGrab& operator=(const KeyGrab&) = delete;

private:
    Display* display_;
    Window root_;
    int keycode_;
    unsigned modifiers_;
};

// The lock modifiers (NumLock, CapsLock, ScrollLock) as the server maps them today.
std::vector<unsigned> lockMasks(Display* display) {
    std::vector<unsigned> masks;
    XModifierKeymap* map = XGetModifierMapping(display);
    if (!map)
        return masks;
    for (KeySym lock : {XK_Num_Lock, XK_Caps_Lock, XK_Scroll_Lock}) {
        const KeyCode code = XKeysymToKeycode(display, lock);
        if (code == 0)
            continue;
        for (int mod = 0; mod < 8; ++mod) {
            const KeyCode* row = map->modifiermap + mod * map->max_keypermod;
            if (std::find(row, row + map->max_keypermod, code) == row + map->max_keypermod)
                continue;
            const unsigned mask = 1u << mod;
            if (std::find(masks.begin(), masks.end(), mask) == masks.end())
                masks.push_back(mask);
        }
    }
    XFreeModifiermap(map);
    return masks;
}

// The keysym of a Win32 virtual-key code: F1..F24, the main keyboard's digits and letters.
KeySym keysymOf(unsigned virtualKey) {
    if (virtualKey >= 0x70 && virtualKey <= 0x87)
        return XK_F1 + (virtualKey - 0x70);
    if (virtualKey >= 0x30 && virtualKey <= 0x39)
        return XK_0 + (virtualKey - 0x30);
    if (virtualKey >= 0x41 && virtualKey <= 0x5A)
        return XK_a + (virtualKey - 0x41);
    return NoSymbol;
}

// The key that gives `sym` in the server's map as it is now, searched column by column as
// Xlib does; 0 when none does. Xlib's own lookup keeps the map it read first and would miss
// a keyboard layout changed since.
KeyCode keycodeOf(Display* display, KeySym sym) {
    int min = 0, max = 0;
    XDisplayKeycodes(display, &min, &max);
    int perCode = 0;
    KeySym* map = XGetKeyboardMapping(display, static_cast<KeyCode>(min), max - min + 1, &perCode);
    if (!map)
        return 0;
    KeyCode found = 0;
    for (int column = 0; column < perCode && found == 0; ++column)
        for (int code = min; code <= max; ++code)
            if (map[(code - min) * perCode + column] == sym) {
                found = static_cast<KeyCode>(code);
                break;
            }
    XFree(map);
    return found;
}

unsigned x11Modifiers(unsigned win32Modifiers) {
    unsigned mask = 0;
    if (win32Modifiers & ModAlt)
        mask |= Mod1Mask;
    if (win32Modifiers & ModControl)
        mask |= ControlMask;
    if (win32Modifiers & ModShift)
        mask |= ShiftMask;
    if (win32Modifiers & ModWin)
        mask |= Mod4Mask;
    return mask;
}

// Whether the window or one of those it sits in has a terminal's WM_CLASS: the focus may
// rest on a window inside the terminal's own.
bool isInTerminal(Display* display, Window window) {
    for (int depth = 0; depth < 16 && window != None && window != PointerRoot; ++depth) {
        XClassHint hint{};
        if (XGetClassHint(display, window, &hint)) {
            const bool terminal = isTerminalWindow(
                {hint.res_class ? hint.res_class : "", hint.res_name ? hint.res_name : ""},
                userTerminalNames());
            XFree(hint.res_name);
            XFree(hint.res_class);
            if (terminal)
                return true;
        }
        Window root = None, parent = None, *children = nullptr;
        unsigned count = 0;
        if (!XQueryTree(display, window, &root, &parent, &children, &count))
            break;
        if (children)
            XFree(children);
        if (parent == root)
            break;
        window = parent;
    }
    return false;
}

class X11Backend final : public PlatformBackend, public QAbstractNativeEventFilter {
public:
    X11Backend(Display* display, const xcb_setup_t* setup)
        : display_(display), root_(DefaultRootWindow(display)), lockMasks_(lockMasks(display)),
          clipboard_(openX11Clipboard(DisplayString(display))),
          activeWindow_(XInternAtom(display, "_NET_ACTIVE_WINDOW", False)),
          ownIdBase_(setup ? setup->resource_id_base : 0),
          ownIdMask_(setup ? setup->resource_id_mask : 0) {
        for (unsigned mask : lockMasks_)
            allLocks_ |= mask;
        int event, error, major, minor;
        hasXTest_ = XTestQueryExtension(display_, &event, &error, &major, &minor);
        qApp->installNativeEventFilter(this);
    }
    ~X11Backend() override {
        qApp->removeNativeEventFilter(this);
        XErrorTrap trap(display_);
        keys_.clear();
    }

    bool hasSystemHotKeys() const override { return true; }
    void setHotKeyHandler(HotKeyHandler handler) override {
        delivery_.setHandler(std::move(handler));
    }

    HotKeyResult registerHotKey(int id, unsigned modifiers, unsigned virtualKey) override {
        wanted_.insert(id);
        const KeySym sym = keysymOf(virtualKey);
        if (sym == NoSymbol)
            return HotKeyResult::Failed; // no key of the capture table
        const KeyCode code = keycodeOf(display_, sym);
        if (code == 0)
            return HotKeyResult::NoSuchKey;
        const unsigned mods = x11Modifiers(modifiers);
        for (const auto& [otherId, other] : keys_)
            if (other.keycode == code && other.modifiers == mods)
                return otherId == id ? HotKeyResult::Registered : HotKeyResult::Taken;
        if (keys_.count(id))
            return HotKeyResult::Failed; // the identifier holds another key

        XErrorTrap trap(display_);
        Registration reg{code, mods, {}};
        // Every combination of the lock modifiers, so the key works whatever lock is on.
        const std::size_t combinations = std::size_t{1} << lockMasks_.size();
        for (std::size_t subset = 0; subset < combinations; ++subset) {
            unsigned locks = 0;
            for (std::size_t bit = 0; bit < lockMasks_.size(); ++bit)
                if (subset & (std::size_t{1} << bit))
                    locks |= lockMasks_[bit];
            reg.grabs.push_back(std::make_unique<KeyGrab>(display_, root_, code, mods | locks));
        }
        // BadAccess: another client grabs the key; the grabs we got go with `reg`.
        if (trap.failed())
            return trap.firstError() == BadAccess ? HotKeyResult::Taken : HotKeyResult::Failed;
        keys_.emplace(id, std::move(reg));
        return HotKeyResult::Registered;
    }

    bool unregisterHotKey(int id) override {
        wanted_.erase(id);
        const auto it = keys_.find(id);
        if (it == keys_.end())
            return false;
        XErrorTrap trap(display_);
        keys_.erase(it);
        return true;
    }

    void sendCopyKeystroke() override {
        if (!hasXTest_)
            return; // a server without XTest: the clipboard is read as it is
        const KeyCode control = XKeysymToKeycode(display_, XK_Control_L);
        const KeyCode c = XKeysymToKeycode(display_, XK_c);
        // A hot key pressed meanwhile turns its passive grab into a grab of the whole
        // keyboard until the key goes up, and a keystroke faked then would come back to
        // us, not go to the program the user reads in. Holding the server keeps other
        // clients' key presses out between giving any such grab back and the keystroke.
        XGrabServer(display_);
        XUngrabKeyboard(display_, CurrentTime);
        XTestFakeKeyEvent(display_, control, True, CurrentTime);
        XTestFakeKeyEvent(display_, c, True, CurrentTime);
        XTestFakeKeyEvent(display_, c, False, CurrentTime);
        XTestFakeKeyEvent(display_, control, False, CurrentTime);
        XUngrabServer(display_);
        XFlush(display_);
    }

    // Ctrl+C in a terminal interrupts its program: there the highlighted text is taken.
    // The window manager's active window and the window with the keyboard focus (where the
    // keystroke would go) both count.
    CopyWay copyWay() override {
        XErrorTrap trap(display_); // windows may vanish meanwhile
        Window focus = None;
        int revert = 0;
        XGetInputFocus(display_, &focus, &revert);
        return isInTerminal(display_, activeWindow()) || isInTerminal(display_, focus)
                   ? CopyWay::Highlight
                   : CopyWay::Keystroke;
    }

    // This program's own highlight (in its text view) is nothing to capture, nor is a
    // highlight that nobody holds any more.
    ChangeMark highlightMark() override {
        const Window owner = XGetSelectionOwner(display_, XA_PRIMARY);
        if (owner == None || (ownIdMask_ != 0 && (owner & ~ownIdMask_) == ownIdBase_))
            return 0;
        return clipboard_->highlightMark();
    }
    ClipboardText readHighlight() override { return clipboard_->readHighlight(); }

    ChangeMark changeMark() override { return clipboard_->changeMark(); }
    bool waitForChange(ChangeMark mark, int timeoutMs) override {
        return clipboard_->waitForChange(mark, timeoutMs);
    }
    ClipboardText readText() override { return clipboard_->readText(); }

    bool isOwnWindowInFront() const override {
        std::set<Window> own;
        for (const QWindow* window : QGuiApplication::topLevelWindows())
            if (window->handle())
                own.insert(static_cast<Window>(window->winId()));
        Window focus = None;
        int revert = 0;
        XGetInputFocus(display_, &focus, &revert);
        // The focus may rest on a window inside one of ours; windows may vanish meanwhile.
        XErrorTrap trap(display_);
        for (int depth = 0; depth < 8 && focus != None && focus != PointerRoot && focus != root_;
             ++depth) {
            if (own.count(focus))
                return true;
            Window root = None, parent = None, *children = nullptr;
            unsigned count = 0;
            if (!XQueryTree(display_, focus, &root, &parent, &children, &count))
                break;
            if (children)
                XFree(children);
            focus = parent;
        }
        return false;
    }

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) override {
        if (eventType != "xcb_generic_event_t")
            return false;
        const auto* event = static_cast<const xcb_generic_event_t*>(message);
        if ((event->response_type & 0x7f) != XCB_KEY_PRESS)
            return false;
        const auto* press = static_cast<const xcb_key_press_event_t*>(message);
        const unsigned state = press->state & KeyboardModifierBits & ~allLocks_;
        for (const auto& [id, reg] : keys_) {
            if (reg.keycode != press->detail || reg.modifiers != state)
                continue;
            // The passive grab turned into a grab of the whole keyboard until the key goes
            // up; give it back now, or the copy keystroke would come back to us.
            XUngrabKeyboard(display_, CurrentTime);
            XFlush(display_);
            delivery_.post(id);
            return true;
        }
        return false;
    }

private:
    Window activeWindow() const {
        Atom type = None;
        int format = 0;
        unsigned long count = 0, after = 0;
        unsigned char* value = nullptr;
        Window active = None;
        if (XGetWindowProperty(display_, root_, activeWindow_, 0, 1, False, XA_WINDOW, &type,
                               &format, &count, &after, &value) == Success &&
            type == XA_WINDOW && format == 32 && count == 1)
            active = static_cast<Window>(*reinterpret_cast<const unsigned long*>(value));
        if (value)
            XFree(value);
        return active;
    }

    struct Registration {
        KeyCode keycode;
        unsigned modifiers;
        std::vector<std::unique_ptr<KeyGrab>> grabs;
    };

    Display* display_;
    Window root_;
    std::vector<unsigned> lockMasks_;
    unsigned allLocks_ = 0;
    bool hasXTest_ = false;
    std::map<int, Registration> keys_;
    std::set<int> wanted_; // in force, whether or not the grab succeeded
    HotKeyDelivery delivery_;
    std::unique_ptr<Clipboard> clipboard_;
    Atom activeWindow_;
    // Every window this program makes on Qt's connection has an id of this range.
    unsigned long ownIdBase_, ownIdMask_;
    // `quillet --hotkey N` for keys another program holds.
    InstanceLink link_{[this](int id) {
        if (!wanted_.contains(id))
            return false;
        delivery_.post(id);
        return true;
    }};
};

} // namespace

std::unique_ptr<PlatformBackend> makeX11Backend(QWidget& mainWindow) {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11 || !x11->display())
        return makeNoneBackend(mainWindow);
    return std::make_unique<X11Backend>(
        x11->display(), x11->connection() ? xcb_get_setup(x11->connection()) : nullptr);
}

} // namespace quillet
