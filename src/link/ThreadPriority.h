// Lowering the calling thread's scheduling priority (the exchange runs at the lowest one).
#pragma once

namespace tesmira {

// Puts the calling thread at the lowest priority the platform gives ordinary threads. Best
// effort: a platform that refuses leaves the priority as it was.
void LowerThreadPriority();

} // namespace tesmira
