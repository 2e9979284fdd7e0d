// Helper libraries whose code faults, installed beside the recording ones, in both frame
// formats and with 1 to 8 worker threads: the host goes on, a frame whose engine call faulted
// comes back as the host gave it, the next frames resize with the entries left, and one debug
// line names the library, the call and the exception code.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <csignal>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "harness/DebugOutput.h"
#include "harness/HostSession.h"
#include "PluginInstall.h"

namespace {

using quorlin_harness::HostSession;

// A call that faults: the library, the name the fixture plans it by, the names the report
// gives it in the YC48 and the YUY2 mode, and whether the fault happens inside a frame (or
// while the library loads or the settings are applied).
struct FaultyCall {
  const char *library;
  const char *planned;
  const char *reportedYC48;
  const char *reportedYUY2;
  bool insideFrame;
};

const FaultyCall kCalls[] = {
    {"FaultyWindowFuncs.dll", "GetWindowFuncPluginInfo", "GetWindowFuncPluginInfo",
     "GetWindowFuncPluginInfo", false},
    {"FaultyWindowFuncs.dll", "Create", "Create", "Create", false},
    {"FaultyWindowFuncs.dll", "GetRadius", "GetRadius", "GetRadius", false},
    {"FaultyWindowFuncs.dll", "Evaluate", "Evaluate", "Evaluate", true},
    {"FaultyWindowFuncs.dll", "Release", "Release", "Release", false},
    {"FaultyKernel.dll", "GetFilterPluginInfo", "GetFilterPluginInfo2", "GetYUY2FilterPluginInfo2",
     false},
    {"FaultyKernel.dll", "GetWorkSize1", "GetWorkSize1", "GetWorkSize1", true},
    {"FaultyKernel.dll", "GetWorkSize2", "GetWorkSize2", "GetWorkSize2", true},
    {"FaultyKernel.dll", "Routine", "ResizeHV", "ResizeHVSep", true},
};

struct FaultKind {
  const char *planned;
  const char *code;  // as the report writes it
};

const FaultKind kKinds[] = {
    {"access-violation", "0xC0000005"},
    {"divide-by-zero", "0xC0000094"},
    {"stack-overflow", "0xC00000FD"},
    {"throw", "0x40000015"},  // the library's runtime ends an escaping exception in abort()
};

constexpr int kSrcW = 64, kSrcH = 48, kDstW = 32, kDstH = 24;

// Names the fault the faulty libraries make for the life of the object.
class PlannedFault {
 public:
  PlannedFault(const char *call, const char *kind) {
    SetEnvironmentVariableA("QUORLIN_FAULT_CALL", call);
    SetEnvironmentVariableA("QUORLIN_FAULT_KIND", kind);
  }
  ~PlannedFault() {
    SetEnvironmentVariableA("QUORLIN_FAULT_CALL", nullptr);
    SetEnvironmentVariableA("QUORLIN_FAULT_KIND", nullptr);
  }
};

// A frame whose every byte differs from its neighbours', so that any write shows.
std::vector<uint8_t> PatternFrame(bool yuy2) {
  std::vector<uint8_t> frame(static_cast<size_t>(kSrcW) * kSrcH * (yuy2 ? 2 : 6));
  for (size_t i = 0; i < frame.size(); ++i) frame[i] = static_cast<uint8_t>(i * 7 + i / 251);
  return frame;
}

bool OutputEquals(const HostSession &session, const std::vector<uint8_t> &frame) {
  const quorlin_harness::FrameView out = session.Output();
  if (out.width != kSrcW || out.height != kSrcH) return false;
  const size_t rowBytes = frame.size() / kSrcH;
  for (int y = 0; y < kSrcH; ++y) {
    if (std::memcmp(out.pixels + y * out.strideBytes, &frame[y * rowBytes], rowBytes) != 0)
      return false;
  }
  return true;
}

bool RunFrame(HostSession &session, const std::vector<uint8_t> &frame) {
  quorlin_harness::FrameInput input;
  input.pixels = frame.data();
  input.width = kSrcW;
  input.height = kSrcH;
  input.strideBytes = static_cast<ptrdiff_t>(frame.size() / kSrcH);
  input.frameCount = 1;
  return session.ProcessFrame(input);
}

bool IsResized(const HostSession &session) {
  return session.Output().width == kDstW && session.Output().height == kDstH;
}

int KernelCalls(const PluginInstall &install) {
  int calls = 0;
  for (const char *library : {"RecordingKernelA.dll", "RecordingKernelB.dll"}) {
    for (int count : install.KernelLog(library)->Calls) calls += count;
  }
  return calls;
}

bool Reported(const std::vector<std::string> &lines, const std::string &expected) {
  return std::any_of(lines.begin(), lines.end(), [&](const std::string &line) {
    return line.rfind("Quorlin: skipped ", 0) == 0 && line.find(expected) != std::string::npos;
  });
}

// One fault, from start-up to shut-down.
void RunFaultCase(const FaultyCall &call, const FaultKind &kind, bool yuy2, int threads) {
  SCOPED_TRACE(std::string(call.planned) + ", " + kind.planned + (yuy2 ? ", YUY2, " : ", YC48, ") +
               std::to_string(threads) + " threads");
  const PlannedFault fault(call.planned, kind.planned);
  InstallLayout layout;
  layout.extraLibraries = {"FaultyWindowFuncs.dll", "FaultyKernel.dll"};
  PluginInstall install(layout);
  quorlin_harness::DebugOutputCapture reports;
  quorlin_harness::HostSessionOptions options = install.Options(yuy2);
  options.threads = threads;
  HostSession session(options);
  const bool faultyFunction = std::strcmp(call.library, "FaultyWindowFuncs.dll") == 0;
  const std::vector<uint8_t> project = ProjectBytes(
      faultyFunction ? ProjectSettings(kDstW, kDstH, "Faulty", "Faulty", 0, 0, "KernelA")
                     : ProjectSettings(kDstW, kDstH, "Spline36", "Spline36", 0, 0, "Faulty"));
  const std::vector<uint8_t> frame = PatternFrame(yuy2);

  ASSERT_TRUE(session.LoadProject(project));
  if (std::strcmp(call.planned, "Release") == 0) {
    ASSERT_TRUE(RunFrame(session, frame));
    ASSERT_TRUE(session.LoadProject(project));  // the setter made before goes
  }
  const int createsBefore = install.CreateLog()->Count;
  ASSERT_TRUE(RunFrame(session, frame));
  if (call.insideFrame) {
    EXPECT_TRUE(OutputEquals(session, frame)) << "the frame of the fault";
  } else {
    EXPECT_TRUE(IsResized(session));
  }
  const int callsBefore = KernelCalls(install);
  ASSERT_TRUE(RunFrame(session, frame));
  EXPECT_TRUE(IsResized(session)) << "the frame after the fault";
  EXPECT_GT(KernelCalls(install), callsBefore);
  if (faultyFunction && call.insideFrame) {
    EXPECT_GT(install.CreateLog()->Count, createsBefore);
  }
  const std::string reported = yuy2 ? call.reportedYUY2 : call.reportedYC48;
  EXPECT_TRUE(Reported(reports.Lines(), std::string(call.library) + ": " + reported +
                                            " raised exception " + kind.code));
}

TEST(LibraryFaults, EveryCallAndKindInBothFormats) {
  int threads = 0;
  for (bool yuy2 : {false, true}) {
    for (const FaultyCall &call : kCalls) {
      for (const FaultKind &kind : kKinds) RunFaultCase(call, kind, yuy2, threads++ % 8 + 1);
    }
  }
}

// The plug-in's abort handler leaves the C runtime's signal table with the plug-in: an entry
// pointing into the unloaded module would crash the next abort() anywhere in the process.
TEST(LibraryFaults, TheAbortHandlerLeavesWithThePlugin) {
  using Handler = void(__cdecl *)(int);
  const Handler before = std::signal(SIGABRT, SIG_DFL);
  std::signal(SIGABRT, before);
  RunFaultCase(kCalls[3], kKinds[3], false, 1);  // an exception escaping Evaluate
  EXPECT_EQ(std::signal(SIGABRT, before), before);
}

// Stack overflows on even thread counts: each worker re-arms its own stack.
TEST(LibraryFaults, ARoutineFaultOnTheLastOfOneToEightWorkerThreads) {
  const FaultyCall &routine = kCalls[8];
  for (bool yuy2 : {false, true}) {
    for (int threads = 1; threads <= 8; ++threads)
      RunFaultCase(routine, kKinds[threads % 2 == 0 ? 2 : 0], yuy2, threads);
  }
}

}  // namespace
