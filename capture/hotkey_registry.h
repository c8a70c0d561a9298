#pragma once

#include "capture/capture_services.h"

namespace quillet {

// FormCreate: registers the keys whose boxes start checked, in ascending identifier order.
void registerStartHotKeys(HotKeyService& service);

// The click handler shared by the hot-key boxes of the "Controls" page: brings every
// registration in line with its box, whichever box was clicked.
void CheckBox2Click(HotKeyService& service, const CaptureOptions& options);

// FormDestroy: releases identifiers 1 to 16, whatever their state.
void releaseHotKeys(HotKeyService& service);

} // namespace quillet
