#pragma once
// The Windows side's framebuffer is a DIB section selected into a memory DC:
// GDI draws into it and copies from it through that DC.
#include "platform/dc/Framebuffer.h"

HDC MemoryDcOf(const Framebuffer& framebuffer);
