#pragma once

#include <QString>
#include <QStringList>

namespace quillet {

// What capturing can do in a Wayland session, as the Wayland backend found out.
struct WaylandAbilities {
    // Hot keys through the desktop's shortcut portal, or only through compositor bindings
    // that run `quillet --hotkey N`.
    enum class Keys { Portal, Commands };
    // The copied text (Ctrl+C faked through the compositor), the highlighted text (no key
    // can be faked), the highlighted text read in a moment of keyboard focus (no
    // data-control either: GNOME), or nothing.
    enum class Text { Clipboard, Primary, FocusedPrimary, None };

    Keys keys = Keys::Portal;
    QString portalProblem;   // why the portal gave no keys
    QStringList unboundKeys; // keys the portal left out
    Text text = Text::Clipboard;
    bool gnome = false;
    bool kde = false;
};

// The one message that tells the user what does not work here and what to do instead;
// empty when everything works.
QString waylandNotice(const WaylandAbilities& abilities);

} // namespace quillet
