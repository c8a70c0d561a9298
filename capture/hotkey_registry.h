#pragma once

#include "capture/capture_services.h"

namespace quillet {

// At start: registers the keys that start switched on, in ascending identifier order.
void registerStartHotKeys(HotKeyService& service);

// After any change of the user's choice: brings every registration in line with it, in
// the reevaluation order, whichever key was switched.
void syncHotKeyRegistrations(HotKeyService& service, const CaptureOptions& options);

// At exit: releases identifiers 1 to 16, whatever their state.
void releaseHotKeys(HotKeyService& service);

} // namespace quillet
