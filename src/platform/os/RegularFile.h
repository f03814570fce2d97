#pragma once
// Reads a small file a user gives us (settings, descriptions): only a regular
// file is read, opened without blocking (a FIFO never hangs us) and without
// reading past a bound (a symlink to /dev/zero or a huge file is refused).
#include <fcntl.h>

#include <cstddef>
#include <optional>
#include <string>

// The whole file, or nothing with `error` set to a reason for a message
// ("not a regular file", "larger than 16 MB", strerror).
std::optional<std::string> ReadRegularFile(const std::string& path, size_t maxBytes, std::string& error);

// Opens `path` (read-only unless `flags` say otherwise) without blocking on
// a FIFO or device, refusing what is not a regular file; -1 with errno set
// (EINVAL for a special file). `mode` is for a file that O_CREAT creates.
int OpenRegularFile(const std::string& path, int flags = O_RDONLY, mode_t mode = 0);

// "16 MB", "512 KB": a bound as a person reads it.
std::string SizeText(size_t bytes);
