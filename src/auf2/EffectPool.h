// The effect's one worker pool for the whole process: started once (when the editor initialises
// the plug-in, or by the first frame) and woken per frame; stopped when the editor releases the
// plug-in.
#pragma once

#include "rgba/ThreadPool.h"

namespace auf2 {

// The pool, started when it does not run yet; nullptr when its threads cannot start.
rgba::ThreadPool *EffectPool();

// Stops the pool's workers; a later frame starts them again.
void StopEffectPool();

}  // namespace auf2
