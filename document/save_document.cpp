#include "document/save_document.h"

#include "document/clean_text.h"
#include "document/date_text.h"
#include "folder/text_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace quillet {

namespace {

// Anything but a folder takes a name, a dangling link included. A folder does not: the
// number is the document's, and creating the file there fails and is reported.
bool isTakenByFile(const QString& path) {
    const QFileInfo info(path);
    return (info.exists() || info.isSymLink()) && !info.isDir();
}

enum class Creation { Written, AlreadyThere, Failed };

// Creates the file only if no file of that name exists at this very moment, so a file
// that another program wrote since the name was chosen is never overwritten.
Creation createNewFile(const QString& path, std::string_view bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return isTakenByFile(path) ? Creation::AlreadyThere : Creation::Failed;
    const bool written = file.write(bytes.data(), static_cast<qint64>(bytes.size())) ==
                         static_cast<qint64>(bytes.size());
    const bool flushed = written && file.flush();
    file.close();
    if (!flushed || file.error() != QFileDevice::NoError) {
        // A half-written document must not pass for a saved one; the text view keeps it.
        file.remove();
        return Creation::Failed;
    }
    return Creation::Written;
}

} // namespace

QString savePath(const QString& folder, const QString& middle, int number) {
    return folder + QDir::separator() + middle + u'_' + QString::number(number) +
           QStringLiteral(".txt");
}

SaveResult SaveDocument(SaveMode mode, const SaveSettings& settings, const SaveServices& s) {
    const bool hotKey = mode == SaveMode::HotKey;
    std::string text = s.view.text();
    if (text.empty()) {
        if (hotKey)
            return {SaveOutcome::NothingToSave, std::string(StatusNothingToSave), {}};
        s.notifier.ShowNotification(StatusNothingToSave);
        return {SaveOutcome::NothingToSave, {}, {}};
    }

    if (!QFileInfo(settings.folder).isDir()) {
        if (hotKey)
            s.window.restoreMainWindow();
        s.boxes.showError(MessageSaveFolderMissing);
        if (hotKey)
            s.window.showControlsPage();
        return {SaveOutcome::FolderMissing, {}, {}};
    }

    QString middle = settings.baseName;
    if (settings.addDate)
        middle += fileNameSafeDate(s.date.todayShortDate());

    if (hotKey && settings.cleanBeforeSaving) {
        text = CleanText(text);
        s.view.setText(text);
    }

    // Trying each number with an exclusive creation, rather than testing first and writing
    // after, leaves no moment in which a file of another program could be overwritten.
    for (int number = 0;; ++number) {
        const QString path = savePath(settings.folder, middle, number);
        const Creation creation = createNewFile(path, text);
        if (creation == Creation::AlreadyThere && number < LastSaveNumber)
            continue;
        if (creation != Creation::Written) {
            s.failures.showGeneralError(cannotCreateMessage(path));
            return {SaveOutcome::CannotCreate, {}, path};
        }
        s.view.setText({});
        return {SaveOutcome::Saved, hotKey ? std::string(StatusSaved) : std::string(), path};
    }
}

std::string DocumentSaver::saveFromHotKey() {
    return SaveDocument(SaveMode::HotKey, settings_.saveSettings(), services_).statusText;
}

void DocumentSaver::saveFromButton() {
    SaveDocument(SaveMode::Button, settings_.saveSettings(), services_);
}

} // namespace quillet
