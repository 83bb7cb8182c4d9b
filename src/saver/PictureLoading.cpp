// The picture step off the event loop: a file (or a folder's first picture)
// becomes the bitmap the saver paints; and the list whose folders the worker
// expanded takes the place of the one read.
#include "saver/SaverWnd.h"

#include "gif/GifDecoder.h"
#include "picture/PictureLoader.h"
#include "picture/PictureScaling.h"

#include <cstdio>
#include <filesystem>
#include <mutex>
#include <set>
#include <string>

namespace {

// A picture that cannot be shown leaves the background black, with nothing on
// the screen to say why; the saver says it on stderr, where a host logs it,
// once per file for the whole run (the timer brings the same files round
// again and again). The decoder's text gives the reason.
void TellPictureNotShown(const std::string& path, const std::string& why) {
    static std::mutex mutex;
    static std::set<std::string> told;
    constexpr std::size_t kMostTold = 4096;  // a huge list of bad files stays bounded
    std::lock_guard<std::mutex> lock(mutex);
    if (told.size() >= kMostTold || !told.insert(path).second)
        return;
    const std::string reason = why.substr(0, why.find('\n'));
    std::fprintf(stderr, "quorl: the picture \"%s\" cannot be shown%s%s\n", path.c_str(),
                 reason.empty() ? "" : ": ", reason.c_str());
}

}  // namespace

LoadedPicture CSaverWnd::LoadPicture(const std::string& path, std::string error, const PictureArea& area) {
    LoadedPicture picture;
    picture.error = std::move(error);
    const std::atomic<bool>* stop = area.stop;
    std::string file = path;
    std::error_code folderError;
    if (std::filesystem::is_directory(path, folderError)) {
        // Its turn shows its first picture until the list is expanded.
        std::vector<std::string> first;
        ScanPictureFolder(path, 1, first, stop);
        if (first.empty())
            return picture;
        file = first.front();
    }
    const PictureFormat format = PeekPictureFormat(file);
    if (format != PictureFormat::Gif && IsShownFormat(format)) {
        std::string reason;
        PictureBitmap bitmap = LoadPictureFile(file, area, reason);
        if (!bitmap.bits) {
            if (!(stop && *stop))
                TellPictureNotShown(file, reason);
            return picture;
        }
        picture.bits = std::move(bitmap.bits);
        picture.width = bitmap.width;
        picture.height = bitmap.height;
        return picture;
    }
    // GIF, and anything unknown, goes to our own decoder, with its own texts.
    int width = 0, height = 0;
    std::unique_ptr<BYTE[]> decoded = ::GIFRead(file, width, height, picture.error, stop);
    // On a scaled desktop the picture covers s times as many device pixels,
    // resampled smoothly.
    if (decoded && !(stop && *stop) && area.scale != 1.0)
        decoded = ScalePictureSmooth(decoded.get(), width, height, area.scale);
    if (stop && *stop)
        return picture;
    if (!decoded || !FlipPictureRows(decoded.get(), width, height)) {
        TellPictureNotShown(file, picture.error);
        return picture;
    }
    // Rows whose length is already a multiple of 4 bytes need no padding:
    // the decoded block is the bitmap, and no second picture-sized block is
    // ever alive beside it.
    if (std::size_t(width) * 3 % 4 == 0) {
        picture.bits = std::move(decoded);
    } else {
        int stride = 0;
        picture.bits = PadPictureRows(decoded.get(), width, height, stride);
    }
    if (picture.bits) {
        picture.width = width;
        picture.height = height;
    }
    return picture;
}

void CSaverWnd::PictureListExpanded(const ExpandedPictureList& list) {
    const std::size_t count = m_astrPictureFiles.size();
    if (list.starts.size() != count || count == 0)
        return;  // the list was read again meanwhile
    // The entry asked for last showed its first picture (a folder's first):
    // the turns go on with the one after it.
    const std::size_t next =
        m_nNextPicture >= 0 && std::size_t(m_nNextPicture) < count ? std::size_t(m_nNextPicture) : 0;
    const std::size_t shown = (next + count - 1) % count;
    const std::size_t end = shown + 1 < count ? list.starts[shown + 1] : list.files.size();
    const std::size_t after = list.starts[shown] + (end > list.starts[shown] ? 1 : 0);
    m_astrPictureFiles = list.files;
    m_nNextPicture = after < m_astrPictureFiles.size() ? int(after) : 0;
}
