// Small window functions for tests, each with its WindowFuncInfo record, as a window-function
// library would report them. Every instance is a heap object; the shared log counts the live
// ones, so a test can tell that everything created was released.
#pragma once

#include <cstdint>
#include <vector>

#include "contracts/WindowFuncInfo.h"

// max(0, 1 - |t|), radius 1: "Triangle1".
const WindowFuncInfo &TriangleRadius1();
// max(0, 1 - |t| / 2), radius 2: "Triangle2".
const WindowFuncInfo &TriangleRadius2();
// max(0, 1 - |t| / 3), radius 3: "Triangle3".
const WindowFuncInfo &TriangleRadius3();
// Triangle1 that records every Evaluate and GetRadius call in the log: "RecordingTriangle1".
const WindowFuncInfo &RecordingTriangle();
// Triangle1 that reports a radius of 0: "ZeroRadiusTriangle".
const WindowFuncInfo &ZeroRadiusTriangle();
// Radius 1; an instance returns +1, -1, +1, ... on successive calls, so any even number of
// taps cancels to a weight sum of exactly 0: "Cancelling".
const WindowFuncInfo &CancellingWeights();
// Create fails (returns 0); GetRadius reports 1 and Evaluate is Triangle1: "FailingCreate".
const WindowFuncInfo &FailingCreate();

struct EvaluateCall {
  double T;
  WindowFuncHandle Instance;
};

struct TestWindowLog {
  int32_t LiveInstances = 0;
  std::vector<int32_t> CreateParams;            // every Create, in order
  std::vector<WindowFuncHandle> RadiusQueries;  // GetRadius calls of the recording functions
  std::vector<EvaluateCall> Evaluations;        // Evaluate calls of the recording function
};

// The log of all test window functions; Reset clears the call records (not the live count).
TestWindowLog &WindowLog();
void ResetWindowLogCalls();
