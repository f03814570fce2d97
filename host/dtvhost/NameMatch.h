#pragma once
// Finding an entry of a list by what a person types: its number or its name.
#include <optional>
#include <string>
#include <vector>

// The number `text` spells in decimal digits only, or nothing.
std::optional<size_t> ListNumber(const std::string& text);
// The indices of the names equal to `text`; when none is, of those equal
// ignoring ASCII case.
std::vector<size_t> MatchingNames(const std::vector<std::string>& names, const std::string& text);
// The indices as numbers of a list that counts from `first`.
std::vector<size_t> NumbersOf(const std::vector<size_t>& indices, size_t first = 1);
