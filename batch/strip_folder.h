#pragma once

#include "batch/batch_outcome.h"
#include "batch/file_list.h"
#include "text/services.h"
#include "text/text_view.h"

#include <QString>

#include <string_view>

namespace quillet {

inline constexpr std::string_view MessageNoTextFiles =
    "Keine Textdateien im Verzeichnis! Wenn doch, dann bitte erneut das Verzeichnis laden!";
inline constexpr std::string_view QuestionOverwrite =
    "Achtung! Alle Dateien werden \xFC"
    "berschrieben! M\xF6"
    "chten Sie daher die bereinigten Texte lieber in einem neuen Unterverzeichnis "
    "erstellen lassen?";
inline constexpr std::string_view MessageStripDone =
    "Alle Dateien wurden erfolgreich bearbeitet und gespeichert!";

// The options of the "Delete Tags" page, read when they are needed.
class StripFolderControls {
public:
    virtual ~StripFolderControls() = default;
    // Whether the stripped files go into a new subfolder rather than over the originals.
    virtual bool subfolderMode() const = 0;
    // The answer "&Ja" to the overwrite warning switches to the subfolder for good.
    virtual void checkSubfolderMode() = 0;
    virtual bool sortBeforeStripping() const = 0;
};

struct StripFolderServices {
    StripFolderControls& controls;
    TextView& workBuffer; // each file passes through it, as the page's preview shows it
    ProgressBar& progress;
    MessageBoxes& boxes;
    FailureReporter& failures;
    DateSource& date;
};

// "untagged_" + date + "_" + count inside the folder, the date made safe for a name.
QString untaggedFolderPath(const QString& folderText, std::string_view date, int count);

// Strips the tags from every file of the list, in the list's order, into the untagged
// subfolder of `folderText` or over the files themselves.
BatchOutcome stripFolder(const TextFileList& list, const QString& folderText,
                         const StripFolderServices& services);

} // namespace quillet
