#pragma once
#include <string>

// Where the saver keeps its files. The program was designed around the
// "Windows directory" and its "system" folder; on Linux that role is played by
// a per-user data folder:
//   $QUORL_WINDOWS_DIR if set, else $XDG_DATA_HOME/quorl,
//   else $HOME/.local/share/quorl.
// The system directory is that folder followed by "/system"; the line files
// and "GIFList.txt" live there.
std::string GetWindowsDirectory();
std::string GetSystemDirectory();
