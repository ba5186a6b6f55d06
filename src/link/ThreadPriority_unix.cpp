// Linux keeps a nice value per thread; 19 is the lowest ordinary priority.
#include "link/ThreadPriority.h"

#include <sys/resource.h>
#include <unistd.h>

namespace tesmira {

void LowerThreadPriority() {
    ::setpriority(PRIO_PROCESS, static_cast<id_t>(::gettid()), 19);
}

} // namespace tesmira
