#include "capture/hotkey_registry.h"

#include "capture/capture_table.h"

namespace quillet {

namespace {

void registerRow(HotKeyService& service, const CaptureRow& row,
                 std::vector<UnregisteredKey>& failed) {
    const HotKeyResult result = service.registerHotKey(row.id, row.modifiers, row.virtualKey);
    if (result != HotKeyResult::Registered)
        failed.push_back({row.id, result});
}

} // namespace

std::vector<UnregisteredKey> registerStartHotKeys(HotKeyService& service) {
    std::vector<UnregisteredKey> failed;
    for (const CaptureRow& row : captureTable())
        if (row.checkedAtStart)
            registerRow(service, row, failed);
    return failed;
}

std::vector<UnregisteredKey> syncHotKeyRegistrations(HotKeyService& service,
                                                     const CaptureOptions& options) {
    std::vector<UnregisteredKey> failed;
    for (int id : HotKeyReevaluationOrder) {
        const CaptureRow& row = *findCaptureRow(id);
        if (!options.isHotKeyEnabled(row.id))
            service.unregisterHotKey(row.id);
        else
            registerRow(service, row, failed);
    }
    return failed;
}

void releaseHotKeys(HotKeyService& service) {
    for (int id = 1; id <= CaptureRowCount; ++id)
        service.unregisterHotKey(id);
}

} // namespace quillet
