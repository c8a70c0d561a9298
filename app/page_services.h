#pragma once

#include "app/folder_dialog.h"
#include "capture/capture_services.h"
#include "text/services.h"

namespace quillet {

// What the pages' handlers use beyond their own controls; the main window provides it.
struct PageServices {
    FolderChooser& folders;
    MessageBoxes& boxes;
    FailureReporter& failures;
    DateSource& date;
};

} // namespace quillet
