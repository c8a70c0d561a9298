#pragma once

namespace quillet {

// Ends the process with status 1 and a plain sentence when there is no graphical session
// to open the window in, where Qt would abort inside its platform plugin. Call it before
// the application object is made, once the options that need no window are handled.
void requireGraphicalSession(int argc, char** argv);

} // namespace quillet
