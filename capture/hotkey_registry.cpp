#include "capture/hotkey_registry.h"

#include "capture/capture_table.h"

namespace quillet {

void registerStartHotKeys(HotKeyService& service) {
    for (const CaptureRow& row : captureTable())
        if (row.checkedAtStart)
            service.registerHotKey(row.id, row.modifiers, row.virtualKey);
}

void syncHotKeyRegistrations(HotKeyService& service, const CaptureOptions& options) {
    for (int id : HotKeyReevaluationOrder) {
        const CaptureRow& row = *findCaptureRow(id);
        if (options.isHotKeyEnabled(row.id))
            service.registerHotKey(row.id, row.modifiers, row.virtualKey);
        else
            service.unregisterHotKey(row.id);
    }
}

void releaseHotKeys(HotKeyService& service) {
    for (int id = 1; id <= CaptureRowCount; ++id)
        service.unregisterHotKey(id);
}

} // namespace quillet
