#include "support/TestWindowFunctions.h"

#include <algorithm>
#include <cmath>

namespace {

struct Instance {
  int32_t Param;
  int32_t Calls = 0;
};

Instance *Of(WindowFuncHandle handle) { return reinterpret_cast<Instance *>(handle); }

WindowFuncHandle __cdecl CreateInstance(int32_t param) {
  WindowLog().CreateParams.push_back(param);
  ++WindowLog().LiveInstances;
  return reinterpret_cast<WindowFuncHandle>(new Instance{param});
}

void __cdecl ReleaseInstance(WindowFuncHandle handle) {
  --WindowLog().LiveInstances;
  delete Of(handle);
}

WindowFuncHandle __cdecl CreateNothing(int32_t param) {
  WindowLog().CreateParams.push_back(param);
  return 0;
}

void __cdecl ReleaseNothing(WindowFuncHandle) {}

template <int R>
double __cdecl Triangle(double t, WindowFuncHandle) {
  return std::max(0.0, 1.0 - std::fabs(t) / R);
}

template <int R>
int32_t __cdecl FixedRadius(WindowFuncHandle) {
  return R;
}

double __cdecl RecordedTriangle(double t, WindowFuncHandle handle) {
  WindowLog().Evaluations.push_back({t, handle});
  return Triangle<1>(t, handle);
}

int32_t __cdecl RecordedRadius(WindowFuncHandle handle) {
  WindowLog().RadiusQueries.push_back(handle);
  return 1;
}

double __cdecl Alternating(double, WindowFuncHandle handle) {
  return Of(handle)->Calls++ % 2 == 0 ? 1.0 : -1.0;
}

WindowFuncInfo Record(const char *name, double(__cdecl *evaluate)(double, WindowFuncHandle),
                      int32_t(__cdecl *radius)(WindowFuncHandle)) {
  return {name, "Param", 0, 100, 3, 0, CreateInstance, evaluate, radius, ReleaseInstance};
}

}  // namespace

const WindowFuncInfo &TriangleRadius1() {
  static const WindowFuncInfo info = Record("Triangle1", Triangle<1>, FixedRadius<1>);
  return info;
}

const WindowFuncInfo &TriangleRadius2() {
  static const WindowFuncInfo info = Record("Triangle2", Triangle<2>, FixedRadius<2>);
  return info;
}

const WindowFuncInfo &TriangleRadius3() {
  static const WindowFuncInfo info = Record("Triangle3", Triangle<3>, FixedRadius<3>);
  return info;
}

const WindowFuncInfo &RecordingTriangle() {
  static const WindowFuncInfo info = Record("RecordingTriangle1", RecordedTriangle, RecordedRadius);
  return info;
}

const WindowFuncInfo &ZeroRadiusTriangle() {
  static const WindowFuncInfo info = Record("ZeroRadiusTriangle", Triangle<1>, FixedRadius<0>);
  return info;
}

const WindowFuncInfo &CancellingWeights() {
  static const WindowFuncInfo info = Record("Cancelling", Alternating, FixedRadius<1>);
  return info;
}

const WindowFuncInfo &FailingCreate() {
  static const WindowFuncInfo info = {"FailingCreate", nullptr, 0, 0, 0, 0,
                                      CreateNothing, RecordedTriangle, RecordedRadius,
                                      ReleaseNothing};
  return info;
}

TestWindowLog &WindowLog() {
  static TestWindowLog log;
  return log;
}

void ResetWindowLogCalls() {
  TestWindowLog &log = WindowLog();
  log.CreateParams.clear();
  log.RadiusQueries.clear();
  log.Evaluations.clear();
}
