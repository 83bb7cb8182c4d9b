#pragma once
// Results of modal dialogs and message boxes, the command identifiers of a
// dialog's OK and Cancel buttons, and the control styles kept from the
// resource script: the side supplies them with the dialogs' other Windows
// names.
#include <SideDialogTypes.h>
