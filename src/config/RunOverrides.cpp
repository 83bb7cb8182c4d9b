#include "config/RunOverrides.h"

#include "config/GifListFile.h"
#include "picture/PictureLoader.h"

#include <filesystem>

RunOverrides& CurrentRunOverrides() {
    static RunOverrides overrides;
    return overrides;
}

void ApplyRunOverrides(SaverSettings& settings) {
    const RunOverrides& overrides = CurrentRunOverrides();
    if (overrides.delay)
        settings.Delay = *overrides.delay;
    if (overrides.pictureDelay)
        settings.GIFDelay = *overrides.pictureDelay;
}

void ReadRunPictureList(std::vector<std::string>& list) {
    const std::optional<std::string>& given = CurrentRunOverrides().pictures;
    if (!given || given->empty()) {
        ReadGifList(list);
        return;
    }
    list.clear();
    std::error_code error;
    if (std::filesystem::is_directory(*given, error) || PeekPictureFormat(*given) != PictureFormat::Unknown) {
        list.push_back(*given);
        return;
    }
    ReadGifListFile(*given, list);
}
