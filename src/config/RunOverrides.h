#pragma once
// Settings a screen-saver host gives on the command line (XScreenSaver's own
// settings for Quorl pass -delay N, -picture-delay N, -pictures PATH). They
// replace the stored settings for this run only and are never stored.
#include "config/SaverSettings.h"

#include <optional>
#include <string>
#include <vector>

struct RunOverrides {
    std::optional<int> delay;          // seconds between verses
    std::optional<int> pictureDelay;   // seconds between pictures
    std::optional<std::string> pictures;  // a folder, a picture, or a list file like GIFList.txt
};

// The process's overrides, set once before any saver window starts.
RunOverrides& CurrentRunOverrides();

// `settings` with the timers given replaced.
void ApplyRunOverrides(SaverSettings& settings);

// The picture list for this run: the one given (a folder or a picture stands
// for itself; any other file is read as a list), else the stored one.
void ReadRunPictureList(std::vector<std::string>& list);
