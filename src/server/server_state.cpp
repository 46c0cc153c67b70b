#include "server/server_state.h"

namespace ptbridge {

volatile LONG ServerLockCount = 0;
HINSTANCE ModuleHandle = nullptr;

} // namespace ptbridge
