// The program's icon: a crescent moon over three lines of a verse, drawn in
// the 16-colour palette at both sizes the platform asks for.
#include "res/Resources.h"
#include "res/resource.h"

#include "res/Icon128_16.xpm"
#include "res/Icon128_32.xpm"

namespace {
const IconResource kIcons[] = {{IDI_QUORL, kIcon128_32, kIcon128_16}};
}

const IconResource* FindIconResource(int id) {
    for (const IconResource& icon : kIcons)
        if (icon.id == id)
            return &icon;
    return nullptr;
}
