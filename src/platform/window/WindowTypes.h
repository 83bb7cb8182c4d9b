#pragma once
// Window messages, styles and constants, with the system's values: the side
// supplies them with the other Windows names (see WinTypes.h).
#include "platform/WinTypes.h"
