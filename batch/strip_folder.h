#pragma once

#include "batch/batch_outcome.h"
#include "batch/file_list.h"
#include "services/services.h"
#include "text/text_view.h"

#include <cstdint>
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

// "untagged_" + date + "_" + count, the date made safe for a name.
NativePath untaggedFolderName(std::string_view date, int count);

// The most runs of one day over the same number of files that get a subfolder of their
// own: untagged_<date>_<count>, then the same with "-2" up to "-1000".
inline constexpr int LastUntaggedVariant = 1000;

// Files rewritten over their originals that share one wait on the disk.
inline constexpr std::size_t OverwriteBatchFiles = 4096;
inline constexpr std::uint64_t OverwriteBatchBytes = std::uint64_t{64} << 20;

// Strips the tags from every file of the list, in the list's order, into a new untagged
// subfolder of `folder` or over the files themselves. The subfolder is claimed for this
// run alone: when its name is taken, the next free variant of it. Over the originals, a
// file whose text would not change is left as it is.
BatchOutcome stripFolder(const TextFileList& list, const NativePath& folder,
                         const StripFolderServices& services);

} // namespace quillet
