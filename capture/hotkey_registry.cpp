#include "capture/hotkey_registry.h"

#include "capture/capture_table.h"

namespace quillet {

std::vector<int> registerStartHotKeys(HotKeyService& service) {
    std::vector<int> failed;
    for (const CaptureRow& row : captureTable())
        if (row.checkedAtStart && !service.registerHotKey(row.id, row.modifiers, row.virtualKey))
            failed.push_back(row.id);
    return failed;
}

std::vector<int> syncHotKeyRegistrations(HotKeyService& service, const CaptureOptions& options) {
    std::vector<int> failed;
    for (int id : HotKeyReevaluationOrder) {
        const CaptureRow& row = *findCaptureRow(id);
        if (!options.isHotKeyEnabled(row.id))
            service.unregisterHotKey(row.id);
        else if (!service.registerHotKey(row.id, row.modifiers, row.virtualKey))
            failed.push_back(row.id);
    }
    return failed;
}

void releaseHotKeys(HotKeyService& service) {
    for (int id = 1; id <= CaptureRowCount; ++id)
        service.unregisterHotKey(id);
}

} // namespace quillet
