#pragma once
// The handful of Windows types, messages and constants the saver's code is
// written against, with the same sizes, layouts and values, so the drawing
// and file code keeps the names its behaviour is defined by. Each side
// supplies them in its include/SideTypes.h (on its include path): win32/ the
// system's own, the Qt side its own definitions.
#include <SideTypes.h>
