#include "host/ParameterValidation.h"

#include <string>

#include "host/PluginState.h"
#include "host/StoredName.h"

namespace {

void ValidateSide(const char (&mode)[kNameFieldSize], int32_t &param, int16_t FuncParamPair::*side) {
  const int32_t index = IndexOfStoredName(*WndFuncPlugins, mode);
  if (index < 0) return;
  ValidateParameter(*WndFuncPlugins->Item(index), param, FuncParams[index].*side);
}

}  // namespace

void ValidateParameter(const WindowFuncInfo &info, int32_t &param, int16_t &remembered) {
  if (param < info.ParamMin || param > info.ParamMax) {
    param = remembered;
  } else {
    remembered = Low16(param);
  }
}

void ValidateParameters() {
  if (!HasEntries(WndFuncPlugins) || CurrentSettings == nullptr) return;
  ValidateSide(CurrentSettings->LumaMode, CurrentSettings->LumaParam, &FuncParamPair::Luma);
  ValidateSide(CurrentSettings->ChromaMode, CurrentSettings->ChromaParam, &FuncParamPair::Chroma);
}
