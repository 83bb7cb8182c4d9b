#pragma once
#include <cstddef>
#include <string>
#include <vector>

// "GIFList.txt" in the system directory: one picture path per line.

// Bounds on what is read of the list, far beyond any real list (a thousand
// pictures take some 100 KiB), so that a huge file or a link to a device
// cannot exhaust memory. The rest of the file is ignored.
constexpr std::size_t kMaxGifListBytes = std::size_t(16) << 20;
constexpr std::size_t kMaxGifListEntries = std::size_t(1) << 18;

// Replaces `list` by the file's non-empty lines, in file order, within the
// bounds above. When the user has no list file (or anything but a regular
// file in its place), the first installed default list is read instead, its
// relative entries made full paths; with neither the list is empty.
void ReadGifList(std::vector<std::string>& list);

// Replaces `list` by the lines of the list file at `path`, read as above,
// relative entries taken from the list's folder. False (and an empty list)
// when it is not a regular file that opens.
bool ReadGifListFile(const std::string& path, std::vector<std::string>& list);

// Replaces the file by `list`, one entry per CR LF line. The new file is
// written beside the old one and renamed over it, so a failure leaves the old
// file exactly as it was. Returns false on failure.
bool WriteGifList(const std::vector<std::string>& list);
