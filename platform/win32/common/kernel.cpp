// KERNEL services shared by every platform: the module handle and the performance counter.
#include <chrono>
#include <utility>

#include "platform/win32/win32.h"
#include "platform/win32/win32_seam.h"

namespace {

// The counter counts nanoseconds of the system's monotonic clock (time since boot, never set back).
constexpr std::int64_t kFrequency = 1000000000;

struct CounterSource {
    std::function<std::int64_t()> counter;
    std::int64_t frequency = kFrequency;
};

CounterSource& Source() {
    static CounterSource* source = new CounterSource;
    return *source;
}

// Any non-null value serves: the show only hands it back to the platform.
HINSTANCE const kProgramModule = reinterpret_cast<HINSTANCE>(static_cast<std::uintptr_t>(0x400000));

}  // namespace

namespace win32seam {

void SetCounter(std::function<std::int64_t()> counter, std::int64_t frequency) {
    Source().counter = std::move(counter);
    Source().frequency = Source().counter ? frequency : kFrequency;
}

}  // namespace win32seam

HMODULE WINAPI GetModuleHandleA(LPCSTR moduleName) {
    // Only the program itself is a module here; no libraries are loaded by name.
    return moduleName == nullptr ? kProgramModule : nullptr;
}

BOOL WINAPI QueryPerformanceFrequency(LARGE_INTEGER* frequency) {
    if (frequency == nullptr) return FALSE;
    frequency->QuadPart = Source().frequency;
    return frequency->QuadPart != 0;
}

BOOL WINAPI QueryPerformanceCounter(LARGE_INTEGER* counter) {
    if (counter == nullptr) return FALSE;
    if (Source().counter) {
        counter->QuadPart = Source().counter();
    } else {
        auto now = std::chrono::steady_clock::now().time_since_epoch();
        counter->QuadPart = std::chrono::duration_cast<std::chrono::nanoseconds>(now).count();
    }
    return TRUE;
}
