#pragma once
// Picture list entries that name a folder: each stands for every picture in
// it and in its subfolders, in name order. Scanned on the picture worker,
// never on the event loop: a folder may hold a hundred thousand files, or
// sit on a slow network share.
#include <atomic>
#include <cstddef>
#include <string>
#include <vector>

// Appends to `out` the pictures found under `folder` (files named as pictures
// are, and others whose first bytes are a picture's),
// depth first, names in byte order within each folder, files and subfolders
// alike; names starting with "." are skipped, and a folder reached twice
// (through a link) is scanned once. Stops once `out` holds `limit` entries
// or `*stop` is set.
void ScanPictureFolder(const std::string& folder, std::size_t limit, std::vector<std::string>& out,
                       const std::atomic<bool>* stop = nullptr);

struct ExpandedPictureList {
    bool changed = false;             // false: no entry names a folder; the list stands as it is
    std::vector<std::string> files;   // the entries, each folder replaced by its pictures
    std::vector<std::size_t> starts;  // for each entry, where its files begin in `files`
};

// The list with its folders expanded, within the list's own bound of
// kMaxGifListEntries entries in all. Other entries stay as they are, found
// or not (a missing file has its turn, as always).
ExpandedPictureList ExpandPictureList(const std::vector<std::string>& entries,
                                      const std::atomic<bool>* stop = nullptr);
