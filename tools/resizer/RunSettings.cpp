#include "resizer/RunSettings.h"

#include <optional>
#include <tuple>

#include "resizer/OutputGeometry.h"

namespace quorlin_resizer {

namespace {

constexpr int32_t kRecordDefaultWidth = 512, kRecordDefaultHeight = 384;
constexpr char kRecordDefaultMethod[] = "Spline36";

const MethodInfo &OfferedMethod(const Installation &installation, const std::string &name,
                                const char *option) {
  const MethodInfo *method = installation.FindMethod(name);
  if (!method)
    throw UsageError(std::string(option) + " \"" + name + "\" is not offered (offered: " +
                     installation.MethodNames() + ")");
  return *method;
}

PlaneMethod WithParam(const MethodInfo &method, const std::optional<std::string> &param,
                      const char *option) {
  PlaneMethod plane{method.name, method.hasParam, method.paramDefault};
  if (!param) return plane;
  if (!method.hasParam)
    throw UsageError(std::string(option) + ": " + method.name + " takes no parameter");
  const std::string range = method.name + "'s range " + std::to_string(method.paramMin) + ".." +
                            std::to_string(method.paramMax);
  const std::optional<long long> value = WholeNumber(*param);
  if (!value)
    throw UsageError(std::string(option) + " \"" + *param + "\" is not a whole number in " +
                     range);
  if (*value < method.paramMin || *value > method.paramMax)
    throw UsageError(std::string(option) + " " + *param + " is outside " + range);
  plane.param = static_cast<int32_t>(*value);
  return plane;
}

const MethodInfo &DefaultLumaMethod(const Installation &installation) {
  const MethodInfo *method = installation.FindMethod(kRecordDefaultMethod);
  return method && !method->builtIn ? *method : installation.methods.front();
}

// A built-in method named on either side runs on both planes, NearestNeighbor before
// AreaAverage, as the plug-in chooses its weight setter.
void ApplyBuiltInLink(RunSettings &settings, const SettingsChanges &changes) {
  for (const char *builtIn : {kNearestNeighbor, kAreaAverage}) {
    if (settings.luma.name != builtIn && settings.chroma.name != builtIn) continue;
    for (const auto &[plane, given, option] :
         {std::tuple{&settings.luma, &changes.lumaMode, "--luma"},
          std::tuple{&settings.chroma, &changes.chromaMode, "--chroma"}}) {
      if (plane->name != builtIn && *given)
        settings.warnings.push_back(std::string(builtIn) + " applies to luma and chroma alike; " +
                                    option + " " + **given + " is not used");
      *plane = PlaneMethod{builtIn, false, 0};
    }
    return;
  }
}

void ResolveMethods(RunSettings &settings, const ResizerCommand &command,
                    const Installation &installation) {
  const SettingsChanges &changes = command.settings;
  const MethodInfo &luma = changes.lumaMode
                               ? OfferedMethod(installation, *changes.lumaMode, "--luma")
                               : DefaultLumaMethod(installation);
  settings.luma = WithParam(luma, command.lumaParam, "--luma-param");
  if (changes.chromaMode) {
    settings.chroma = WithParam(OfferedMethod(installation, *changes.chromaMode, "--chroma"),
                                command.chromaParam, "--chroma-param");
  } else {
    settings.chroma = command.chromaParam
                          ? WithParam(luma, command.chromaParam, "--chroma-param")
                          : settings.luma;
  }
  ApplyBuiltInLink(settings, changes);
}

// --size for this input, else the size list's first entry, which may not have its shape.
void ResolveSize(RunSettings &settings, const ResizerCommand &command,
                 const Installation &installation, const Y4mHeader &input) {
  FrameSize size;
  if (command.size) {
    size = TargetSize(*command.size, input);
  } else {
    size = installation.firstSize.value_or(FrameSize{kRecordDefaultWidth, kRecordDefaultHeight});
    if (const auto warning = ShapeWarning(size, input)) settings.warnings.push_back(*warning);
  }
  settings.width = size.width;
  settings.height = size.height;
}

void ResolveKernel(RunSettings &settings, const SettingsChanges &changes,
                   const Installation &installation) {
  if (!changes.kernel) {
    settings.kernel = installation.kernels.front();
    return;
  }
  for (const std::string &kernel : installation.kernels)
    if (kernel == *changes.kernel) {
      settings.kernel = kernel;
      return;
    }
  throw UsageError("--kernel \"" + *changes.kernel + "\" is not offered (offered: " +
                   installation.KernelNames() + ")");
}

std::string DescribePlane(const char *plane, const PlaneMethod &method) {
  std::string text = std::string(plane) + " " + method.name;
  if (method.hasParam) text += " " + std::to_string(method.param);
  return text;
}

}  // namespace

RunSettings ResolveRunSettings(const ResizerCommand &command, const Installation &installation,
                               const Y4mHeader &input) {
  RunSettings settings;
  ResolveSize(settings, command, installation, input);
  if (installation.PassesThrough()) return settings;
  ResolveMethods(settings, command, installation);
  ResolveKernel(settings, command.settings, installation);
  return settings;
}

std::vector<uint8_t> SettingsRecordOf(const RunSettings &settings) {
  SettingsChanges fields;
  fields.width = settings.width;
  fields.height = settings.height;
  fields.lumaMode = settings.luma.name;
  fields.chromaMode = settings.chroma.name;
  fields.kernel = settings.kernel;
  fields.lumaParam = settings.luma.param;
  fields.chromaParam = settings.chroma.param;
  return ChangeSettings(std::vector<uint8_t>(kSettingsRecordSize, 0), fields);
}

std::string DescribeRunSettings(const RunSettings &settings) {
  std::string text = std::to_string(settings.width) + "x" + std::to_string(settings.height);
  if (settings.kernel.empty()) return text + ", frames pass unchanged (nothing installed)";
  return text + ", " + DescribePlane("luma", settings.luma) + ", " +
         DescribePlane("chroma", settings.chroma) + ", kernel " + settings.kernel;
}

}  // namespace quorlin_resizer
