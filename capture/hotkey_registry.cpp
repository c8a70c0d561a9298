#include "capture/hotkey_registry.h"

#include "capture/capture_table.h"

#include <array>

namespace quillet {

namespace {

// The boxes are re-evaluated in the order of the page's boxes, where key 1 (13) comes
// before key 2 (12).
constexpr std::array<int, CaptureRowCount> reevaluationOrder{1, 2,  3,  4,  5,  6,  7,  8,
                                                             9, 10, 11, 13, 12, 14, 15, 16};

} // namespace

void registerStartHotKeys(HotKeyService& service) {
    for (const CaptureRow& row : captureTable())
        if (row.checkedAtStart)
            service.RegisterHotKey(row.id, row.modifiers, row.virtualKey);
}

void CheckBox2Click(HotKeyService& service, const CaptureOptions& options) {
    for (int id : reevaluationOrder) {
        const CaptureRow& row = *findCaptureRow(id);
        if (options.isChecked(row.checkBox))
            service.RegisterHotKey(row.id, row.modifiers, row.virtualKey);
        else
            service.UnregisterHotKey(row.id);
    }
}

void releaseHotKeys(HotKeyService& service) {
    for (int id = 1; id <= CaptureRowCount; ++id)
        service.UnregisterHotKey(id);
}

} // namespace quillet
