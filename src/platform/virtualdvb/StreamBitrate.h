#pragma once
// The rate a recorded transport stream was broadcast at, from its clock
// references.
#include <cstdint>
#include <optional>
#include <span>
#include <string>

// Bit/s between the first and the last PCR of the first PID carrying one;
// nothing without two distinct PCRs.
std::optional<uint64_t> PcrBitrate(std::span<const uint8_t> stream);

// The first bytes of a file (at most `limit`); empty when it cannot be read.
std::string ReadFileStart(const std::string& path, size_t limit);
