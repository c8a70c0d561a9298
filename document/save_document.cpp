#include "document/save_document.h"

#include "document/clean_text.h"
#include "files/file_names.h"
#include "files/text_file.h"

namespace quillet {

NativePath savePath(const NativePath& folder, std::string_view middle, int number) {
    NativePath path = folder;
    path += nativeSeparator();
    path += middle;
    path += '_';
    path += std::to_string(number);
    path += ".txt";
    return path;
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

    if (!isFolder(settings.folder)) {
        if (hotKey)
            s.window.restoreMainWindow();
        s.boxes.showError(MessageSaveFolderMissing);
        if (hotKey)
            s.window.showControlsPage();
        return {SaveOutcome::FolderMissing, {}, {}};
    }

    // A base name such as "../x" must not lead out of the save folder.
    NativePath middle = fileNameSafeText(settings.baseName);
    if (settings.addDate)
        middle += fileNameSafeDate(s.date.todayShortDate());

    if (hotKey && settings.cleanBeforeSaving) {
        text = cleanText(text);
        s.view.setText(text);
    }

    // Trying each number with an exclusive creation, rather than testing first and writing
    // after, leaves no moment in which a file of another program could be overwritten.
    for (int number = 0;; ++number) {
        const NativePath path = savePath(settings.folder, middle, number);
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
