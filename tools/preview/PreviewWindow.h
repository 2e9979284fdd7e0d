// Window mode of the resizer: the filter window with the plug-in's dialog, shown, and a
// preview window with the current frame after the filter. The preview is redrawn whenever the
// plug-in asks the host for a redraw. Runs until the preview window is closed.
#pragma once

#include "harness/HostSession.h"

namespace quorlin_preview {

// Processes `frame` once, then shows both windows and runs their messages. Returns 0.
int RunPreview(quorlin_harness::HostSession &session, const quorlin_harness::FrameInput &frame);

}  // namespace quorlin_preview
