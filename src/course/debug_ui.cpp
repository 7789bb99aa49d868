// The developer overlay's process-wide pointer.
#include "course/debug_ui.hpp"

DebugUi* gDebugUi = nullptr;
