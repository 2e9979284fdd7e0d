// The editor's filter plug-in interface, with what its header expects to be declared first.
#pragma once

#include <windows.h>

#include <cstdint>

#include "auf2/sdk/filter2.h"
