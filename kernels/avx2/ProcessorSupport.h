// Whether this processor and the operating system run AVX2 code.
#pragma once

bool ProcessorRunsAvx2();
