// The settings panel inside the host's filter window, as the hooks drive it. The panel is built
// on the plug-in's state and its settings apply, so the hooks know it only through these
// operations, which the module's entry point hands over before start-up. Without them the
// filter window stays empty.
#pragma once

#include <windows.h>

struct SettingsPanel {
  // Builds the panel inside the filter window (WM_FILTER_INIT), releasing an earlier one.
  void (*Create)(HWND filterWindow);
  // Releases the panel (WM_FILTER_EXIT).
  void (*Release)();
  // Sets the open panel's controls from the settings record, applying nothing; false when no
  // panel is open.
  bool (*LoadFromSettings)();
};

// The panel the hooks drive from now on (null: none).
void UseSettingsPanel(const SettingsPanel *panel);
