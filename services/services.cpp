#include "services/services.h"

#include <chrono>
#include <thread>

namespace quillet {

void SleepingWaiter::sleepMs(int milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

} // namespace quillet
