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
    virtual bool subfolderMode() const = 0;       // CheckBox17
    virtual void checkSubfolderMode() = 0;        // the answer "&Ja" checks CheckBox17
    virtual bool sortBeforeStripping() const = 0; // CheckBox19
};

struct StripFolderServices {
    StripFolderControls& controls;
    TextView& workBuffer;  // Memo5
    ProgressBar& progress; // ProgressBar2
    MessageBoxes& boxes;
    FailureReporter& failures;
    DateSource& date;
};

// "untagged_" + date + "_" + count inside the folder, the date made safe for a name.
QString untaggedFolderPath(const QString& folderText, std::string_view date, int count);

// Strips the tags from every file of the list, in the list's order, into the untagged
// subfolder of `folderText` (Edit7) or over the files themselves.
BatchOutcome stripFolder(const TextFileList& list, const QString& folderText,
                         const StripFolderServices& services);

} // namespace quillet
