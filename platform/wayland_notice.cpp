#include "platform/wayland_notice.h"

namespace quillet {

QString waylandNotice(const WaylandAbilities& a) {
    QStringList parts;
    const QString commands =
        QStringLiteral("Legen Sie die Tasten in den Einstellungen des Desktops oder des "
                       "Compositors auf den Befehl „quillet --hotkey N“, zum Beispiel in sway: "
                       "„bindsym F1 exec quillet --hotkey 1“. N ist 1 bis 10 für F1 bis F10; "
                       "11, 13, 12, 14 und 16 für die Tasten 0, 1, 2, 3 und 4; 15 für Strg+Y.");
    if (a.keys == WaylandAbilities::Keys::Commands) {
        QString part = QStringLiteral("Tastenkürzel: Der Desktop vergibt keine systemweiten "
                                      "Tasten an Quillet (%1). ")
                           .arg(a.portalProblem) +
                       commands;
        if (a.gnome)
            part += QStringLiteral(
                " In GNOME legt die Schaltfläche „Set up GNOME shortcuts“ der Seite „Controls“ "
                "(oder „quillet --setup-gnome-shortcuts“) alle sechzehn Tasten unter "
                "Einstellungen, Tastatur, Eigene Tastenkürzel an.");
        parts << part;
    } else if (!a.unboundKeys.isEmpty()) {
        parts << QStringLiteral("Tastenkürzel: Der Desktop hat diese Tasten nicht vergeben: %1. ")
                         .arg(a.unboundKeys.join(QStringLiteral(", "))) +
                     commands;
    }

    switch (a.text) {
    case WaylandAbilities::Text::Clipboard:
        break;
    case WaylandAbilities::Text::Primary: {
        QString part = QStringLiteral(
            "Text übernehmen: Der Desktop lässt Quillet kein Strg+C senden. Quillet übernimmt "
            "deshalb den markierten Text (die primäre Auswahl) statt der Zwischenablage, und "
            "nur, wenn die Markierung sich seit dem letzten Druck derselben Taste geändert hat.");
        if (a.kde)
            part += QStringLiteral(" In KDE Plasma erlaubt es die mit Quillet installierte Datei "
                                   "org.quillet.Quillet.desktop, ab der nächsten Anmeldung.");
        parts << part;
        break;
    }
    case WaylandAbilities::Text::FocusedPrimary:
        parts << QStringLiteral(
            "Text übernehmen: Der Desktop lässt Quillet weder Strg+C senden noch die Auswahl "
            "im Hintergrund lesen. Quillet übernimmt deshalb den markierten Text (die primäre "
            "Auswahl): Bei jedem Tastendruck nimmt ein unsichtbares Fenster für einen "
            "Augenblick die Tastatur, liest die Markierung und gibt die Tastatur zurück. Jede "
            "Taste übernimmt eine Markierung nur einmal. Da Quillet Änderungen nur beim Lesen "
            "sieht, gilt derselbe Text, erneut markiert, erst dann als neu, wenn ein "
            "Tastendruck dazwischen anderen oder keinen markierten Text fand.");
        break;
    case WaylandAbilities::Text::None: {
        QString part = QStringLiteral(
            "Text übernehmen: Der Desktop lässt Quillet den markierten Text anderer Programme "
            "nicht lesen (er bietet kein Data-Control-Protokoll). Die Tasten, die Text "
            "übernehmen, fügen nichts ein; F6, F10 und Strg+Y wirken weiter.");
        if (a.gnome)
            part += QStringLiteral(" In GNOME übernimmt Quillet Text nach einer Anmeldung mit "
                                   "„GNOME on Xorg“.");
        parts << part;
        break;
    }
    }
    if (parts.isEmpty())
        return {};
    return QStringLiteral("Quillet unter Wayland:\n\n") + parts.join(QStringLiteral("\n\n"));
}

} // namespace quillet
