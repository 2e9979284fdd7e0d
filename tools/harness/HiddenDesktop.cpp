#include "harness/HiddenDesktop.h"

#include <windows.h>

namespace quorlin_harness {

namespace {

const char kStationName[] = "QuorlinHidden";
const char kDesktopName[] = "Default";

HDESK HiddenDesktop() {
  static const HDESK desktop = [] {
    const HWINSTA station = CreateWindowStationA(kStationName, 0, WINSTA_ALL_ACCESS, nullptr);
    if (!station || !SetProcessWindowStation(station)) return HDESK{};
    return CreateDesktopA(kDesktopName, nullptr, nullptr, 0, GENERIC_ALL, nullptr);
  }();
  return desktop;
}

}  // namespace

bool UseHiddenDesktop() {
  const HDESK desktop = HiddenDesktop();
  return desktop && SetThreadDesktop(desktop);
}

}  // namespace quorlin_harness
