// effect_host: loads Quorlin.auf2 (or another .auf2) as the editor does, lists its items, sets
// them and runs its video effect over a PAM image:
//   effect_host [--auf2 PATH] [--list] [--set NAME=VALUE]... [--repeat N] [INPUT.pam -o OUTPUT.pam]
// --repeat runs the effect N more times on the same image and prints the median and fastest
// milliseconds a call, the editor's way of calling included.
// Text is printed in UTF-8 with LF line ends. Exit status: 0 done, 1 the plug-in or a file failed,
// 2 a mistake on the command line.
#include <fcntl.h>
#include <io.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cwchar>
#include <stdexcept>
#include <string>
#include <vector>

#include "effect-host/EffectModule.h"
#include "effect-host/PamFile.h"

namespace {

struct Options {
  std::wstring Auf2 = QUORLIN_AUF2_PATH;
  bool List = false;
  std::vector<std::pair<std::wstring, std::wstring>> Settings;
  std::wstring Input, Output;
  int Repeat = 0;
};

struct UsageError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

void Print(const std::wstring &text) {
  const int length =
      WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string utf8(length, '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, utf8.data(), length, nullptr, nullptr);
  std::fputs(utf8.c_str(), stdout);
  std::fputc('\n', stdout);
}

Options Parse(int argc, wchar_t **argv) {
  Options options;
  for (int i = 1; i < argc; ++i) {
    const std::wstring arg = argv[i];
    const bool hasValue = i + 1 < argc;
    if (arg == L"--list") {
      options.List = true;
    } else if (arg == L"--auf2" && hasValue) {
      options.Auf2 = argv[++i];
    } else if (arg == L"--repeat" && hasValue) {
      wchar_t *end = nullptr;
      const long repeat = std::wcstol(argv[++i], &end, 10);
      if (*end != L'\0' || repeat < 1 || repeat > 100000) {
        throw UsageError("--repeat takes a count from 1 to 100000");
      }
      options.Repeat = static_cast<int>(repeat);
    } else if (arg == L"-o" && hasValue) {
      options.Output = argv[++i];
    } else if (arg == L"--set" && hasValue) {
      const std::wstring setting = argv[++i];
      const size_t equals = setting.find(L'=');
      if (equals == std::wstring::npos) throw UsageError("--set takes NAME=VALUE");
      options.Settings.emplace_back(setting.substr(0, equals), setting.substr(equals + 1));
    } else if (arg.rfind(L"-", 0) != 0 && options.Input.empty()) {
      options.Input = arg;
    } else {
      throw UsageError(
          "usage: effect_host [--auf2 PATH] [--list] [--set NAME=VALUE]... [--repeat N] "
          "[INPUT.pam -o OUTPUT.pam]");
    }
  }
  if (options.Input.empty() != options.Output.empty()) {
    throw UsageError("an input needs -o OUTPUT.pam, and -o an input");
  }
  return options;
}

// Milliseconds a call of `repeat` more calls on `input`: the median and the fastest.
void PrintCallTimes(effecthost::EffectModule &effect, const effecthost::RgbaFrame &input,
                    int repeat) {
  std::vector<double> times;
  for (int i = 0; i < repeat; ++i) {
    using Ms = std::chrono::duration<double, std::milli>;
    const auto start = std::chrono::steady_clock::now();
    effect.ProcessVideo(input);
    times.push_back(Ms(std::chrono::steady_clock::now() - start).count());
  }
  std::sort(times.begin(), times.end());
  Print(L"ms a call: median " + std::to_wstring(times[times.size() / 2]) + L", fastest " +
        std::to_wstring(times.front()));
}

void Run(const Options &options) {
  effecthost::EffectModule effect(options.Auf2);
  for (const auto &[name, value] : options.Settings) effect.Set(name, value);
  if (options.List) {
    Print(effect.Table().name);
    for (const effecthost::EffectItem &item : effect.Items()) Print(effecthost::DescribeItem(item));
  }
  if (options.Input.empty()) return;
  const effecthost::RgbaFrame input = effecthost::ReadPam(options.Input);
  const effecthost::VideoResult result = effect.ProcessVideo(input);
  if (!result.Returned) throw std::runtime_error("the effect returned false");
  effecthost::WritePam(options.Output, result.Output);
  Print(std::to_wstring(input.Width) + L"x" + std::to_wstring(input.Height) + L" -> " +
        std::to_wstring(result.Output.Width) + L"x" + std::to_wstring(result.Output.Height) +
        (result.ImageSet ? L"" : L" (passed through)"));
  if (options.Repeat > 0) PrintCallTimes(effect, input, options.Repeat);
}

}  // namespace

int wmain(int argc, wchar_t **argv) {
  _setmode(_fileno(stdout), _O_BINARY);  // lines end in LF
  try {
    Run(Parse(argc, argv));
    return 0;
  } catch (const UsageError &error) {
    std::fprintf(stderr, "effect_host: %s\n", error.what());
    return 2;
  } catch (const std::exception &error) {
    std::fprintf(stderr, "effect_host: %s\n", error.what());
    return 1;
  }
}
