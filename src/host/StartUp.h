// Start-up, run by either export: reads the settings file, loads the window-function and
// kernel libraries from the plug-in directory and fills the module-wide state.
#pragma once

#include <cstdint>

// `yuy2Mode` is 0 (YC48 frames) or -1 (packed YUY2 frames).
void RunStartUp(int32_t yuy2Mode);
