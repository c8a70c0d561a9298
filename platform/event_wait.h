#pragma once

#include <functional>

namespace quillet {

// Runs the program's event loop without key and mouse input until `done` gives true or
// `timeoutMs` have passed, and returns done()'s last answer. Meanwhile the windows repaint,
// timers tick and the program answers other programs' clipboard requests, while hot keys
// stay queued in the order pressed. `done` is asked at the start, whenever the socket
// `fd` has data (if fd >= 0) and at least every `pollMs` (if > 0).
bool waitProcessingEvents(int timeoutMs, const std::function<bool()>& done, int fd = -1,
                          int pollMs = 0);

} // namespace quillet
