#pragma once
// The built-in frequency lists (resources of type "FREQ_LIST"), compiled in
// from data/ at build time.
#include <string_view>

constexpr int kFrequencyListDvbs = 201;
constexpr int kFrequencyListDvbc = 202;
constexpr int kFrequencyListDvbt = 203;

// The exact bytes of the list with resource identifier `id` (ASCII XML with
// CR LF line ends); empty for any other identifier.
std::string_view FindFrequencyListResource(int id);
