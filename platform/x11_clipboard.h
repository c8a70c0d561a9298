#pragma once

#include "capture/capture_services.h"

#include <memory>

namespace quillet {

// The CLIPBOARD and PRIMARY (highlighted text) selections of an X display, through a
// connection of its own: XFixes tells of every new owner, and the text is fetched by hand
// with a bound on each step. Qt's
// clipboard waits seconds for an owner that does not answer, handling no events meanwhile.
// `displayName` as XOpenDisplay takes it; a clipboard that cannot connect never changes and
// cannot be opened.
std::unique_ptr<Clipboard> openX11Clipboard(const char* displayName);

} // namespace quillet
