#pragma once

#include "capture/capture_services.h"

#include <vector>

namespace quillet {

// A key that should be registered but could not be, and why.
struct UnregisteredKey {
    int id = 0;
    HotKeyResult why = HotKeyResult::Failed;
    bool operator==(const UnregisteredKey&) const = default;
};

// Each returns the keys that should be registered but could not be, in the order tried,
// so that the user can be told; the other keys are registered anyway.

// At start: registers the keys that start switched on, in ascending identifier order.
std::vector<UnregisteredKey> registerStartHotKeys(HotKeyService& service);

// After any change of the user's choice: brings every registration in line with it, in
// the reevaluation order, whichever key was switched.
std::vector<UnregisteredKey> syncHotKeyRegistrations(HotKeyService& service,
                                                     const CaptureOptions& options);

// At exit: releases identifiers 1 to 16, whatever their state.
void releaseHotKeys(HotKeyService& service);

} // namespace quillet
