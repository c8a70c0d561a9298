#pragma once

#include "files/file_system.h"
#include "services/services.h"
#include "text/text_view.h"

#include <optional>
#include <string>
#include <string_view>

namespace quillet {

inline constexpr std::string_view StatusSaved = "Datei gespeichert..";
inline constexpr std::string_view StatusNothingToSave = "Kein Text zum Speichern..";
inline constexpr std::string_view MessageSaveFolderMissing = "Speicherpfad existiert nicht!";

// The highest number a saved document may get; it is used only when all below are taken.
inline constexpr int LastSaveNumber = 10001;

enum class SaveMode { Button, HotKey };

// The options of the "Controls" page, read when the save starts.
struct SaveSettings {
    NativePath folder;    // exactly as typed
    std::string baseName; // as typed, in UTF-8; characters a file name cannot hold become "-"
    bool addDate = true;  // today's date behind the base name
    bool cleanBeforeSaving = true; // honoured by the hot key only
};

class SaveSettingsSource {
public:
    virtual ~SaveSettingsSource() = default;
    virtual SaveSettings saveSettings() const = 0;
};

// What a hot-key save needs of the main window when the save folder is missing: the
// window may be hidden, and the user has to reach the folder field.
class SaveWindow {
public:
    virtual ~SaveWindow() = default;
    virtual void restoreMainWindow() = 0;
    virtual void showControlsPage() = 0;
};

class HotKeySaver {
public:
    virtual ~HotKeySaver() = default;
    // The F10 save; gives the status text for the notification, or nothing when the save
    // failed at the general error box, which ends the handling of the hot key.
    virtual std::optional<std::string> saveFromHotKey() = 0;
};

struct SaveServices {
    TextView& view; // the document
    Notifier& notifier;
    MessageBoxes& boxes;
    FailureReporter& failures;
    DateSource& date;
    SaveWindow& window;
};

enum class SaveOutcome { Saved, NothingToSave, FolderMissing, CannotCreate };

struct SaveResult {
    SaveOutcome outcome;
    std::string statusText; // for the hot key's notification; always empty in button mode
    NativePath path;        // the file written, or the one that could not be created
};

// folder + separator + middle + "_" + number + ".txt"; the separator is added even when
// the folder text ends with one.
NativePath savePath(const NativePath& folder, std::string_view middle, int number);

// Writes the document as a new file under the smallest free number and empties the view.
SaveResult saveDocument(SaveMode mode, const SaveSettings& settings, const SaveServices& services);

// The two ways into saveDocument, each reading the options when it runs. The capture
// dispatch calls saveFromHotKey() for F10; "Save and New" calls saveFromButton().
class DocumentSaver : public HotKeySaver {
public:
    DocumentSaver(const SaveSettingsSource& settings, const SaveServices& services)
        : settings_(settings), services_(services) {}

    std::optional<std::string> saveFromHotKey() override;
    void saveFromButton();

private:
    const SaveSettingsSource& settings_;
    SaveServices services_;
};

} // namespace quillet
