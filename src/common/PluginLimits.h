// The most the plug-in takes from one library. A library that goes beyond is broken (its list
// never ends, its texts run on without a zero) or would make start-up and shut-down crawl.
#pragma once

#include <cstddef>
#include <cstdint>

// Bytes of a Name or ParamLabel before its terminating zero.
constexpr size_t kMaxPluginTextBytes = 255;
// Window functions one library may list; a library listing more is skipped whole.
constexpr int32_t kMaxFunctionsPerLibrary = 256;

// The reasons reported for what goes beyond them; keep the figures equal to the limits above.
constexpr char kUnboundedName[] = "the name is not a readable text of at most 255 bytes";
constexpr char kUnboundedLabel[] =
    "the parameter label is not a readable text of at most 255 bytes";
constexpr char kTooManyFunctions[] = "it lists more than 256 window functions";
