#include "link/ThreadPriority.h"

#include <windows.h>

namespace tesmira {

void LowerThreadPriority() {
    ::SetThreadPriority(::GetCurrentThread(), THREAD_PRIORITY_LOWEST);
}

} // namespace tesmira
