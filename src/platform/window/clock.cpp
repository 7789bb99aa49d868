// Clock and sleeping on std::chrono.
#include "platform/window/clock.hpp"

#include <thread>

namespace platform {

uint32_t TimeMs() {
    // Like the system tick count: milliseconds since the machine started, wrapping at 2^32.
    auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch());
    return static_cast<uint32_t>(ms.count());
}

void SleepMs(uint32_t ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

void SleepUntil(SteadyTime deadline) {
    using namespace std::chrono;
    // The kernel wakes us up to a millisecond late; sleep short of the deadline and yield
    // through the rest.
    const auto margin = microseconds(1200);
    auto now = steady_clock::now();
    if (deadline - now > margin) std::this_thread::sleep_until(deadline - margin);
    while (steady_clock::now() < deadline) std::this_thread::yield();
}

}  // namespace platform
