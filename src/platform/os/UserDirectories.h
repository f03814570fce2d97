#pragma once
// Per-user directories as Linux users expect them.
#include <string>

// $XDG_CACHE_HOME, else ~/.cache ($HOME, else the password entry); created
// (mode 0700) when missing. Empty when there is none to be had.
std::string UserCacheDirectory();

// $XDG_DATA_HOME, else ~/.local/share; not created. Empty when there is no
// home directory.
std::string UserDataDirectory();
