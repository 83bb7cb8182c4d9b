#include "app/SaverApp.h"

#include <strings.h>

BOOL MatchSwitch(const char* argument, const char* letter) {
    if (*argument == '-' || *argument == '/')
        ++argument;
    return ::strcasecmp(argument, letter) == 0 ? TRUE : FALSE;
}
