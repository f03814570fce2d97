#pragma once
// dlopen maps a shared object as its headers describe it: a truncated file
// then faults (SIGBUS) inside the loader. Modules are checked first.
#include <string>

// True when `path` is a complete shared object for this machine: ELF header,
// program headers, section table and every loadable segment lie inside the
// file. Otherwise `why` tells what is wrong, and `unreadable` whether the
// file could not even be opened (missing, no permission).
bool IsLoadableModule(const std::string& path, std::string& why, bool* unreadable = nullptr);
