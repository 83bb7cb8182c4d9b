#pragma once
#include <string>
#include <vector>

// "GIFList.txt" in the system directory: one picture path per line.

// Replaces `list` by the file's non-empty lines, in file order. A missing file
// gives an empty list.
void ReadGifList(std::vector<std::string>& list);

// Replaces the file by `list`, one entry per CR LF line. The new file is
// written beside the old one and renamed over it, so a failure leaves the old
// file exactly as it was. Returns false on failure.
bool WriteGifList(const std::vector<std::string>& list);
