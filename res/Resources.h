#pragma once
#include "platform/dialogs/DialogTemplate.h"

// The program's resources, looked up by identifier as the platform's resource
// loader would: null when the module holds no such resource.

const DialogTemplate* FindDialogTemplate(int id);

struct IconResource {
    int id;
    const char* const* image32;  // XPM, 32 x 32, 16 colours
    const char* const* image16;  // XPM, 16 x 16, 16 colours
};
const IconResource* FindIconResource(int id);
