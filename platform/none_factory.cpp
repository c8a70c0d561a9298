#include "platform/platform.h"

namespace quillet {

std::unique_ptr<PlatformBackend> createPlatformBackend(QWidget& mainWindow) {
    return makeNoneBackend(mainWindow);
}

HandOff handHotKeyToRunningInstance(int) {
    return HandOff::NotHere;
}

} // namespace quillet
