// The arming of faults. Portable: the platforms' own codes are in
// fault_injection_<platform>.cpp. The launcher is single-threaded; a test
// arms and resets between runs, never while one is under way.
#include "os/fault_injection.h"

#include <cerrno>

namespace os {

namespace {

// One arming per point; the last point of the enumeration bounds them.
constexpr int kPoints = static_cast<int>(FaultPoint::kDeleteFile) + 1;

struct Arming {
  uint32_t first = 0;  // 0: not armed
  uint32_t times = 0;
  unsigned long code = 0;
  uint32_t calls = 0;
  uint32_t injected = 0;
};

bool gArmed = false;
Arming gPoints[kPoints];

Arming& at(FaultPoint point) { return gPoints[static_cast<int>(point)]; }

}  // namespace

void failNth(FaultPoint point, uint32_t n, unsigned long code, uint32_t times) {
  Arming& arming = at(point);
  arming.first = n == 0 ? 1 : n;
  arming.times = times;
  arming.code = code;
  gArmed = true;
}

void resetFaults() {
  for (Arming& arming : gPoints) arming = Arming();
  gArmed = false;
}

unsigned long injectedFault(FaultPoint point) {
  if (!gArmed) return 0;
  Arming& arming = at(point);
  const uint32_t call = ++arming.calls;
  if (arming.first == 0 || arming.code == 0 || call < arming.first) return 0;
  if (arming.times != kEveryLaterCall && call - arming.first >= arming.times) return 0;
  ++arming.injected;
  return arming.code;
}

uint32_t faultCalls(FaultPoint point) { return at(point).calls; }
uint32_t faultsInjected(FaultPoint point) { return at(point).injected; }

std::FILE* openFile(FaultPoint point, const char* path, const char* mode) {
  if (const unsigned long fault = injectedFault(point)) {
    errno = static_cast<int>(fault);
    return nullptr;
  }
  return std::fopen(path, mode);
}

size_t writeFile(const void* data, size_t size, std::FILE* file) {
  if (const unsigned long fault = injectedFault(FaultPoint::kFileWrite)) {
    errno = static_cast<int>(fault);
    return 0;
  }
  return std::fwrite(data, 1, size, file);
}

}  // namespace os
