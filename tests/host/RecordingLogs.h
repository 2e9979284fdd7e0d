// What the recording test libraries write down, read by the integration tests through the
// libraries' exported data ("KernelLog", "CreateLog") in the very modules the plug-in loaded.
#pragma once

#include <cstdint>

// Filled by the recording kernels (RecordingKernel.cpp).
struct KernelLogRecord {
  int32_t Calls[6];            // ResizeH, ResizeV, ResizeHSep, ResizeVSep, ResizeHV, ResizeHVSep
  int32_t HPairCount;          // first horizontal block of the last call: its pair count ...
  int16_t HCoeffs[4];          // ... and its first coefficients (2 shared, 4 separate)
};

enum KernelRoutineIndex { kResizeH, kResizeV, kResizeHSep, kResizeVSep, kResizeHV, kResizeHVSep };

// Filled by the recording window functions (RecordingWindowFuncs.cpp).
struct CreateLogRecord {
  int32_t Count;               // Create calls so far
  struct {
    int32_t Function;          // index of the function in the library
    int32_t Param;             // value handed to Create
  } Calls[64];
  int32_t Live;                // instances created and not yet released
};
