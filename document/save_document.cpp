#include "document/save_document.h"

#include "document/clean_text.h"
#include "files/text_file.h"
#include "services/date_text.h"

#include <QDir>
#include <QFileInfo>

namespace quillet {

QString savePath(const QString& folder, const QString& middle, int number) {
    return folder + QDir::separator() + middle + u'_' + QString::number(number) +
           QStringLiteral(".txt");
}

SaveResult saveDocument(SaveMode mode, const SaveSettings& settings, const SaveServices& s) {
    const bool hotKey = mode == SaveMode::HotKey;
    std::string text = s.view.text();
    if (text.empty()) {
        if (hotKey)
            return {SaveOutcome::NothingToSave, std::string(StatusNothingToSave), {}};
        s.notifier.showNotification(StatusNothingToSave);
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

    // A base name such as "../x" must not lead out of the save folder.
    QString middle = fileNameSafeText(settings.baseName);
    if (settings.addDate)
        middle += fileNameSafeDate(s.date.todayShortDate());

    if (hotKey && settings.cleanBeforeSaving) {
        text = cleanText(text);
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

std::optional<std::string> DocumentSaver::saveFromHotKey() {
    SaveResult result = saveDocument(SaveMode::HotKey, settings_.saveSettings(), services_);
    if (result.outcome == SaveOutcome::CannotCreate)
        return std::nullopt;
    return std::move(result.statusText);
}

void DocumentSaver::saveFromButton() {
    saveDocument(SaveMode::Button, settings_.saveSettings(), services_);
}

} // namespace quillet
