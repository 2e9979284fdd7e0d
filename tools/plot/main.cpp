// quorlin_plot: samples the window functions of the libraries in a plug-in folder through their
// own Create, GetRadius and Evaluate, and prints the curves as CSV for plotting.
//
//   quorlin_plot [--dll DIR] [NAME[=P,P,...] ...]
//
// Without names every function is sampled at its default parameter. A name alone samples that
// function at its default, NAME=P,P,... at each parameter given. Columns:
//   function,param,default,radius,x,weight
// with x from -radius to radius in steps of 1/64 (exact in binary, so the integers are hit).
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "plugins/WindowFuncPlugin.h"

namespace {

const int kStepsPerPixel = 64;

struct Curve {
  const WindowFuncInfo *info;
  int32_t param;
};

[[noreturn]] void Refuse(const std::string &message) {
  std::fprintf(stderr, "quorlin_plot: %s\n", message.c_str());
  std::exit(2);
}

std::string OfferedNames(const TWndFuncPluginList &functions) {
  std::string names;
  for (int32_t i = 0; i < functions.Count(); ++i)
    names += (i ? ", " : "") + std::string(functions.Item(i)->Name);
  return names;
}

int32_t ParseParam(const WindowFuncInfo &info, const std::string &text) {
  char *end = nullptr;
  const long value = std::strtol(text.c_str(), &end, 10);
  if (text.empty() || *end != '\0' || value < info.ParamMin || value > info.ParamMax)
    Refuse(std::string(info.Name) + " takes a parameter from " + std::to_string(info.ParamMin) +
           " to " + std::to_string(info.ParamMax) + ", not \"" + text + "\"");
  return static_cast<int32_t>(value);
}

// NAME or NAME=P,P,... as one curve per parameter.
void AddCurves(const TWndFuncPluginList &functions, const std::string &request,
               std::vector<Curve> &curves) {
  const size_t equals = request.find('=');
  const std::string name = request.substr(0, equals);
  const int32_t index = functions.IndexOfName(name.c_str());
  if (index < 0) Refuse("no window function \"" + name + "\"; offered: " + OfferedNames(functions));
  const WindowFuncInfo *info = functions.Item(index);
  if (equals == std::string::npos) {
    curves.push_back({info, info->ParamDefault});
    return;
  }
  std::string list = request.substr(equals + 1);
  for (size_t start = 0; start <= list.size();) {
    const size_t comma = std::min(list.find(',', start), list.size());
    curves.push_back({info, ParseParam(*info, list.substr(start, comma - start))});
    start = comma + 1;
  }
}

void PrintCurve(const Curve &curve) {
  const WindowFuncInfo &info = *curve.info;
  const WindowFuncHandle instance = info.Create(curve.param);
  const int32_t radius = info.GetRadius(instance);
  for (int32_t step = -radius * kStepsPerPixel; step <= radius * kStepsPerPixel; ++step) {
    const double x = static_cast<double>(step) / kStepsPerPixel;
    std::printf("%s,%d,%d,%d,%.6f,%.9f\n", info.Name, static_cast<int>(curve.param),
                static_cast<int>(info.ParamDefault), static_cast<int>(radius), x,
                info.Evaluate(x, instance));
  }
  info.Release(instance);
}

}  // namespace

int main(int argc, char **argv) {
  std::string dllDir = QUORLIN_DIST_DLL;
  std::vector<std::string> requests;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--dll" && i + 1 < argc) dllDir = argv[++i];
    else if (!arg.empty() && arg[0] == '-') Refuse("unknown option " + arg);
    else requests.push_back(arg);
  }

  TWndFuncPluginList functions;
  functions.LoadPlugins(dllDir.c_str());
  if (functions.Count() == 0) Refuse("no window functions in " + dllDir);

  std::vector<Curve> curves;
  for (const std::string &request : requests) AddCurves(functions, request, curves);
  if (requests.empty())
    for (int32_t i = 0; i < functions.Count(); ++i)
      curves.push_back({functions.Item(i), functions.Item(i)->ParamDefault});

  std::printf("function,param,default,radius,x,weight\n");
  for (const Curve &curve : curves) PrintCurve(curve);
  return 0;
}
