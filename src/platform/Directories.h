#pragma once
#include <string>
#include <vector>

// Where the saver keeps its files: the "Windows directory" and its "system"
// folder, which is where a screen saver's users look for them on Windows. On
// Linux that role is played by a per-user data folder:
//   $QUORL_WINDOWS_DIR if set, else $XDG_DATA_HOME/quorl,
//   else $HOME/.local/share/quorl.
// The system directory is that folder followed by "/system"; the line files
// and "GIFList.txt" live there.
std::string GetWindowsDirectory();
std::string GetSystemDirectory();

// The system directory as texts shown to the user name it. Empty on Windows,
// whose texts keep naming "windows\system" as they always have; elsewhere the
// real folder as the user would type it, with "~" for the home folder.
std::string SystemDirectoryForTexts();

// The folders holding the installed defaults (line files, picture list and
// pictures), most important first: "quorl" in each absolute folder of
// $XDG_DATA_DIRS, default /usr/local/share:/usr/share. They are only read,
// for a file the user's system directory lacks.
std::vector<std::string> GetDefaultDataDirectories();
