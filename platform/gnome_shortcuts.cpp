#include "platform/gnome_shortcuts.h"

#include "capture/capture_table.h"
#include "platform/linux_backends.h"
#include "platform/shortcut_names.h"

#define G_SETTINGS_ENABLE_BACKEND
#include <gio/gio.h>
#include <gio/gsettingsbackend.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <set>
#include <string_view>
#include <unistd.h>

namespace quillet {

namespace {

constexpr const char* ListSchema = "org.gnome.settings-daemon.plugins.media-keys";
constexpr const char* EntrySchema =
    "org.gnome.settings-daemon.plugins.media-keys.custom-keybinding";
constexpr const char* ListKey = "custom-keybindings";
constexpr std::string_view EntryFolder =
    "/org/gnome/settings-daemon/plugins/media-keys/custom-keybindings/";
// Quillet's own shortcuts are known by their path, so that removing takes exactly those.
constexpr std::string_view OwnPrefix = "quillet-hotkey-";

struct Unref {
    void operator()(gpointer object) const { g_object_unref(object); }
};
using Settings = std::unique_ptr<GSettings, Unref>;

struct Entry {
    std::string path, name, command, binding;
};

std::string ownPath(int id) {
    return std::string(EntryFolder) + std::string(OwnPrefix) + std::to_string(id) + '/';
}

// The hot key of one of Quillet's own paths; 0 for any other path.
int ownId(const std::string& path) {
    const std::string prefix = std::string(EntryFolder) + std::string(OwnPrefix);
    if (path.rfind(prefix, 0) != 0 || path.back() != '/')
        return 0;
    const std::string number = path.substr(prefix.size(), path.size() - prefix.size() - 1);
    const auto id = hotKeyIdFromArgument(number);
    return id && std::to_string(*id) == number ? *id : 0;
}

// GSettings ends the program on a path that is none; a list edited by hand may hold one.
bool isSettingsPath(const std::string& path) {
    return path.size() > 1 && path.front() == '/' && path.back() == '/' &&
           path.find("//") == std::string::npos;
}

std::string stringOf(GSettings* settings, const char* key) {
    gchar* value = g_settings_get_string(settings, key);
    std::string text = value ? value : "";
    g_free(value);
    return text;
}

Settings entrySettings(const std::string& path) {
    return Settings(g_settings_new_with_path(EntrySchema, path.c_str()));
}

std::vector<std::string> pathsOf(GSettings* list) {
    gchar** paths = g_settings_get_strv(list, ListKey);
    std::vector<std::string> all;
    for (gchar** path = paths; path && *path; ++path)
        all.emplace_back(*path);
    g_strfreev(paths);
    return all;
}

void setPaths(GSettings* list, const std::vector<std::string>& paths) {
    std::vector<const gchar*> strv;
    for (const std::string& path : paths)
        strv.push_back(path.c_str());
    strv.push_back(nullptr);
    g_settings_set_strv(list, ListKey, strv.data());
}

std::vector<Entry> entriesAt(const std::vector<std::string>& paths) {
    std::vector<Entry> entries;
    for (const std::string& path : paths) {
        if (!isSettingsPath(path))
            continue;
        const Settings entry = entrySettings(path);
        entries.push_back({path, stringOf(entry.get(), "name"), stringOf(entry.get(), "command"),
                           stringOf(entry.get(), "binding")});
    }
    return entries;
}

std::string lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// The key of a row as GNOME writes it: "F2", "1", "<Control>y".
std::string gnomeBinding(const CaptureRow& row) {
    const std::string modifiers = (row.modifiers & ModControl) ? "<Control>" : "";
    if (row.virtualKey >= 0x70 && row.virtualKey <= 0x87)
        return modifiers + 'F' + std::to_string(row.virtualKey - 0x70 + 1);
    return modifiers + static_cast<char>(std::tolower(static_cast<int>(row.virtualKey)));
}

// A binding as GNOME matches it: modifiers in any spelling and order, the key in any case.
std::string normalBinding(const std::string& binding) {
    std::set<std::string> modifiers;
    std::string rest = binding;
    for (std::size_t end;
         !rest.empty() && rest.front() == '<' && (end = rest.find('>')) != std::string::npos;
         rest.erase(0, end + 1)) {
        std::string modifier = lower(rest.substr(1, end - 1));
        if (modifier == "ctrl" || modifier == "primary")
            modifier = "control";
        else if (modifier == "mod1")
            modifier = "alt";
        else if (modifier == "mod4")
            modifier = "super";
        modifiers.insert(modifier);
    }
    std::string normal;
    for (const std::string& modifier : modifiers)
        normal += '<' + modifier + '>';
    return normal + lower(rest);
}

// The hot key a shortcut's command hands to Quillet ("quillet --hotkey 2", also by path, by
// the key's name or with "="); 0 for any other command.
int hotKeyOfCommand(const std::string& command) {
    gint argc = 0;
    gchar** argv = nullptr;
    if (!g_shell_parse_argv(command.c_str(), &argc, &argv, nullptr))
        return 0;
    int id = 0;
    const std::string_view program = argv[0];
    const std::string_view name = program.substr(program.rfind('/') + 1);
    for (int i = 1; name == "quillet" && i < argc && id == 0; ++i) {
        const std::string_view argument = argv[i];
        std::optional<int> found;
        if ((argument == "--hotkey" || argument == "-hotkey") && i + 1 < argc)
            found = hotKeyIdFromArgument(argv[i + 1]);
        else if (argument.rfind("--hotkey=", 0) == 0)
            found = hotKeyIdFromArgument(argument.substr(std::strlen("--hotkey=")));
        id = found.value_or(0);
    }
    g_strfreev(argv);
    return id;
}

// This program's absolute path as the first word of a command line.
std::string thisProgram(GnomeShortcutsReport::Problem& problem) {
    std::array<char, PATH_MAX> buffer{};
    const ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
    if (length <= 0) {
        problem = GnomeShortcutsReport::Problem::ProgramPath;
        return {};
    }
    std::string path(buffer.data(), static_cast<std::size_t>(length));
    // A program replaced while it runs (an update) is named so; the new one has the path.
    constexpr std::string_view deleted = " (deleted)";
    if (path.size() > deleted.size() && path.ends_with(deleted))
        path.resize(path.size() - deleted.size());
    if (!g_utf8_validate(path.data(), static_cast<gssize>(path.size()), nullptr)) {
        problem = GnomeShortcutsReport::Problem::ProgramPath;
        return {};
    }
    const bool plain = std::all_of(path.begin(), path.end(), [](unsigned char c) {
        return std::isalnum(c) || std::strchr("/._+-,@%=:", c);
    });
    if (plain)
        return path;
    gchar* quoted = g_shell_quote(path.c_str());
    std::string word = quoted;
    g_free(quoted);
    return word;
}

// The shortcut settings of GNOME, or why they cannot be written here.
Settings openList(GnomeShortcutsReport::Problem& problem) {
    GSettingsSchemaSource* source = g_settings_schema_source_get_default();
    GSettingsSchema* list =
        source ? g_settings_schema_source_lookup(source, ListSchema, TRUE) : nullptr;
    GSettingsSchema* entry =
        source ? g_settings_schema_source_lookup(source, EntrySchema, TRUE) : nullptr;
    const bool installed = list && entry && g_settings_schema_has_key(list, ListKey);
    if (list)
        g_settings_schema_unref(list);
    if (entry)
        g_settings_schema_unref(entry);
    if (!installed) {
        problem = GnomeShortcutsReport::Problem::NoSchema;
        return nullptr;
    }
    // Without a settings store GSettings keeps values in memory only: nothing would last.
    if (std::strcmp(G_OBJECT_TYPE_NAME(g_settings_backend_get_default()),
                    "GMemorySettingsBackend") == 0) {
        problem = GnomeShortcutsReport::Problem::NoStore;
        return nullptr;
    }
    Settings settings(g_settings_new(ListSchema));
    if (!g_settings_is_writable(settings.get(), ListKey)) {
        problem = GnomeShortcutsReport::Problem::Locked;
        return nullptr;
    }
    return settings;
}

} // namespace

bool isGnomeWaylandSession() {
    const char* desktops = std::getenv("XDG_CURRENT_DESKTOP");
    std::string_view rest = desktops ? desktops : "";
    for (;;) {
        const std::size_t end = rest.find(':');
        if (lower(std::string(rest.substr(0, end))) == "gnome")
            return isWaylandSession();
        if (end == std::string_view::npos)
            return false;
        rest.remove_prefix(end + 1);
    }
}

GnomeShortcutsReport setUpGnomeShortcuts() {
    GnomeShortcutsReport report;
    const std::string program = thisProgram(report.problem);
    if (program.empty())
        return report;
    const Settings list = openList(report.problem);
    if (!list)
        return report;
    report.command = program + " --hotkey N";
    std::vector<std::string> paths = pathsOf(list.get());
    const std::vector<Entry> entries = entriesAt(paths);
    for (const CaptureRow& row : captureTable()) {
        GnomeShortcutChange change{row.id, GnomeShortcutChange::What::Added, gnomeBinding(row), {}};
        const std::string path = ownPath(row.id);
        const auto same = std::find_if(entries.begin(), entries.end(), [&](const Entry& e) {
            return e.path == path || hotKeyOfCommand(e.command) == row.id;
        });
        const auto taken = std::find_if(entries.begin(), entries.end(), [&](const Entry& e) {
            return !e.binding.empty() && normalBinding(e.binding) == normalBinding(change.binding);
        });
        if (same != entries.end()) {
            change.what = GnomeShortcutChange::What::Kept;
            change.other = same->name;
        } else if (taken != entries.end()) {
            change.what = GnomeShortcutChange::What::Occupied;
            change.other = taken->name;
        } else {
            const Settings entry = entrySettings(path);
            const std::string name = std::string("Quillet: ") + shortcutDescription(row.id);
            const std::string command = program + " --hotkey " + std::to_string(row.id);
            g_settings_set_string(entry.get(), "name", name.c_str());
            g_settings_set_string(entry.get(), "command", command.c_str());
            g_settings_set_string(entry.get(), "binding", change.binding.c_str());
            paths.push_back(path);
        }
        report.changes.push_back(std::move(change));
    }
    setPaths(list.get(), paths);
    g_settings_sync(); // the store writes behind our back; it must be done before we end
    return report;
}

GnomeShortcutsReport removeGnomeShortcuts() {
    GnomeShortcutsReport report;
    const Settings list = openList(report.problem);
    if (!list)
        return report;
    std::vector<std::string> others;
    for (const std::string& path : pathsOf(list.get())) {
        const int id = ownId(path);
        if (id == 0) {
            others.push_back(path);
            continue;
        }
        const Settings entry = entrySettings(path);
        report.changes.push_back(
            {id, GnomeShortcutChange::What::Removed, stringOf(entry.get(), "binding"), {}});
        for (const char* key : {"name", "command", "binding"})
            g_settings_reset(entry.get(), key);
    }
    if (report.changes.empty())
        return report;
    std::sort(report.changes.begin(), report.changes.end(),
              [](const auto& a, const auto& b) { return a.id < b.id; });
    setPaths(list.get(), others);
    g_settings_sync();
    return report;
}

} // namespace quillet
