#include "batch/strip_folder.h"

#include "document/sort_tags.h"
#include "document/strip_tags.h"
#include "text/date_text.h"
#include "text/text_file.h"

#include <QDir>
#include <QFileInfo>

namespace quillet {

QString untaggedFolderPath(const QString& folderText, std::string_view date, int count) {
    return folderText + QDir::separator() + QStringLiteral("untagged_") + fileNameSafeDate(date) +
           u'_' + QString::number(count);
}

BatchOutcome stripFolder(const TextFileList& list, const QString& folderText,
                         const StripFolderServices& s) {
    const int count = list.count();
    if (count == 0) {
        s.boxes.showError(MessageNoTextFiles);
        return BatchOutcome::Refused;
    }
    if (!s.controls.subfolderMode() && s.boxes.askWarning(QuestionOverwrite))
        s.controls.checkSubfolderMode();

    for (int i = 0; i < count; ++i) {
        const QString source = list.selectedPath(i);
        // The bytes go on from here, not read back from the view, which need not hold
        // every byte of a file (a NUL, for one) as it came.
        std::optional<std::string> loaded = readTextFile(source);
        if (!loaded) {
            s.failures.showGeneralError(cannotOpenMessage(source));
            return BatchOutcome::Failed;
        }
        std::string work = std::move(*loaded);
        s.workBuffer.setText(work);
        s.progress.setMaximum(count);
        s.progress.setPosition(0);

        if (s.controls.sortBeforeStripping() && work.find('{') != std::string::npos)
            work = sortTags(work);
        work = stripTags(work);
        s.workBuffer.setText(work);

        QString target = source;
        if (s.controls.subfolderMode()) {
            const QString folder = untaggedFolderPath(folderText, s.date.todayShortDate(), count);
            // An existing folder is fine; any other failure shows when the file is written.
            QDir().mkdir(folder);
            // A bare name is its own file name; the entries never hold a folder.
            target = folder + QDir::separator() + QFileInfo(list.entries()[i]).fileName();
        }
        if (!writeFile(target, work)) {
            s.failures.showGeneralError(cannotCreateMessage(target));
            return BatchOutcome::Failed;
        }
        s.progress.setPosition(i + 1);
    }
    s.workBuffer.setText({});
    s.boxes.showInformation(MessageStripDone);
    return BatchOutcome::Completed;
}

} // namespace quillet
