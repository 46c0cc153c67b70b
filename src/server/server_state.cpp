#include "server/server_state.h"

volatile LONG ServerLockCount = 0;
HINSTANCE ModuleHandle = nullptr;
