// What the fake filter plug-in records about the host's calls. The test owns the record and
// hands its address to the plug-in through the environment variable kFakeFilterLogVariable
// (hexadecimal), so the record outlives the plug-in's unloading.
#pragma once

#include <cstdint>

constexpr char kFakeFilterLogVariable[] = "QUORLIN_FAKE_FILTER_LOG";
constexpr int kFakeExDataSize = 16;
constexpr int kFakeWindowWidth = 200;
constexpr int kFakeWindowHeight = 100;
constexpr int kFakeMaxThreads = 64;
constexpr unsigned kFakeRedrawMessage = 0x8200;

// How func_proc treats the frame.
enum class FakeProcMode : int32_t {
  PassThrough,        // leaves the frame as it is
  HalveIntoScratch,   // writes every second pixel into ycp_temp, swaps the images
  RunOnAllThreads,    // counts exec_multi_thread_func's calls per thread index
  BreakImagePointers, // points ycp_edit and ycp_temp at the same image
};

struct FakeFilterLog {
  char events[2048];  // hook calls in order, each followed by ';'
  FakeProcMode procMode;
  int32_t procCalls;
  int32_t savingDuringLastProc;   // is_saving as func_proc saw it
  int32_t sysMaxWidth, sysMaxHeight;  // get_sys_info in func_init
  int32_t multiThreadServiceMissing;  // exec_multi_thread_func was null in func_proc
  int32_t threadNum;                  // thread_num the workers were given
  int32_t threadHits[kFakeMaxThreads];  // calls per thread index
  int32_t wndProcHandleMismatches;    // func_WndProc's hwnd differed from fp->hwnd
  uint8_t exDataAtUpdate[kFakeExDataSize];  // the extra data as func_update saw it
};
