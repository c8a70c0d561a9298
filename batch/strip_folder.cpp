#include "batch/strip_folder.h"

#include "batch/output_folder.h"
#include "batch/overwrite_batch.h"
#include "document/sort_tags.h"
#include "document/strip_tags.h"
#include "files/file_names.h"
#include "files/text_file.h"

#include <new>
#include <optional>
#include <string>

namespace quillet {

NativePath untaggedFolderName(std::string_view date, int count) {
    return "untagged_" + fileNameSafeDate(date) + "_" + std::to_string(count);
}

namespace {

class StripRun {
public:
    StripRun(const TextFileList& list, const NativePath& folder, const StripFolderServices& s)
        : list_(list), folder_(folder), s_(s), subfolder_(s.controls.subfolderMode()) {}

    BatchOutcome run() {
        const int count = list_.count();
        for (int i = 0; i < count; ++i) {
            const NativePath source = list_.selectedPath(i);
            FileStatus read;
            // The bytes go on from here, not read back from the view, which need not hold
            // every byte of a file (a NUL, for one) as it came.
            std::optional<std::string> loaded = readFileBytes(source, &read);
            if (loaded && !subfolder_) {
                // A rewrite of this file that a crash cut short is completed first.
                const auto recovery = batch_.finishInterruptedRewrite(source, read);
                if (recovery == OverwriteBatch::Recovery::Failed)
                    loaded.reset();
                else if (recovery == OverwriteBatch::Recovery::Finished)
                    loaded = readFileBytes(source, &read);
            }
            if (!loaded)
                return fail(cannotOpenMessage(source));
            std::string result;
            bool unchanged = false;
            try {
                std::string& work = *loaded;
                const bool breaksChanged = normalizeLineBreaks(work);
                s_.workBuffer.setText(work);
                s_.progress.setMaximum(count);
                s_.progress.setPosition(0);
                const bool sort =
                    s_.controls.sortBeforeStripping() && work.find('{') != std::string::npos;
                result = sort ? stripTags(sortTags(work)) : stripTags(work);
                unchanged = !breaksChanged && result == work;
                loaded.reset();
                s_.workBuffer.setText(result);
            } catch (const std::bad_alloc&) {
                return fail(cannotOpenMessage(source));
            }
            if (!(subfolder_ ? writeIntoSubfolder(i, result)
                             : unchanged || overwrite(source, read, result)))
                return fail(std::move(failure_));
            s_.progress.setPosition(i + 1);
        }
        if (!subfolder_ && !batch_.commit())
            return fail(cannotCreateMessage(batch_.failedPath()));
        s_.workBuffer.setText({});
        s_.boxes.showInformation(MessageStripDone);
        return BatchOutcome::Completed;
    }

private:
    bool writeIntoSubfolder(int index, std::string_view text) {
        const std::string& name = list_.entries()[static_cast<std::size_t>(index)];
        if (!output_.claimed()) {
            // The date when the first file is written, as the folder is made then.
            const NativePath wanted = untaggedFolderName(s_.date.todayShortDate(), list_.count());
            if (output_.claimVariant(folder_, wanted, LastUntaggedVariant) !=
                OutputFolder::Outcome::Claimed) {
                failure_ = cannotCreateMessage(output_.path() + nativeSeparator() + name);
                return false;
            }
        }
        const NativePath target = output_.path() + nativeSeparator() + name;
        if (createNewFile(target, text) != Creation::Written) {
            failure_ = cannotCreateMessage(target);
            return false;
        }
        return true;
    }

    bool overwrite(const NativePath& source, const FileStatus& read, std::string_view text) {
        if (!batch_.stage(source, read, text)) {
            failure_ = cannotCreateMessage(source);
            return false;
        }
        if (batch_.size() >= OverwriteBatchFiles || batch_.stagedBytes() >= OverwriteBatchBytes)
            return commit();
        return true;
    }

    bool commit() {
        if (batch_.commit())
            return true;
        failure_ = cannotCreateMessage(batch_.failedPath());
        return false;
    }

    // Files before the failing one are written (a staged batch is put in place first; if
    // that fails, its failure is the one reported); a subfolder still empty goes.
    BatchOutcome fail(std::string message) {
        if (!subfolder_ && !commit())
            message = std::move(failure_);
        output_.removeIfEmpty();
        s_.failures.showGeneralError(message);
        return BatchOutcome::Failed;
    }

    const TextFileList& list_;
    const NativePath& folder_;
    const StripFolderServices& s_;
    const bool subfolder_;
    OutputFolder output_;
    OverwriteBatch batch_;
    std::string failure_;
};

} // namespace

BatchOutcome stripFolder(const TextFileList& list, const NativePath& folder,
                         const StripFolderServices& s) {
    if (list.count() == 0) {
        s.boxes.showError(MessageNoTextFiles);
        return BatchOutcome::Refused;
    }
    if (!s.controls.subfolderMode() && s.boxes.askWarning(QuestionOverwrite))
        s.controls.checkSubfolderMode();
    return StripRun(list, folder, s).run();
}

} // namespace quillet
