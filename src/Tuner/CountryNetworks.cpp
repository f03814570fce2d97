#include "Tuner/CountryNetworks.h"

#include <algorithm>
#include <array>

namespace {
// Countries that used NTSC.
constexpr std::array<LONG, 55> kNtsc = {
    1,   2,   51,  52,  53,  56,  57,  58,  63,  81,  82,  84,  95,  238, 245, 246, 247, 265, 290,
    291, 297, 299, 376, 501, 502, 503, 504, 505, 506, 507, 509, 593, 597, 599, 670, 671, 672, 674,
    676, 677, 678, 679, 680, 683, 684, 688, 690, 691, 692, 871, 872, 873, 874, 886, 975};
// Countries that used PAL D/K or SECAM D.
constexpr std::array<LONG, 16> kPalD = {7, 36, 40, 86, 242, 359, 371, 373, 374, 375, 380, 420, 850, 976, 994, 995};
// Every other country of the table: PAL B/G/I/N or SECAM B/G/K/L.
constexpr std::array<LONG, 133> kPalX = {
    20,  27,  30,  31,  32,  33,  34,  39,  41,  43,  44,  45,  46,  47,  48,  49,  54,  55,  60,
    61,  62,  64,  65,  66,  90,  91,  92,  93,  94,  98,  212, 213, 216, 218, 220, 221, 222, 223,
    224, 225, 226, 227, 228, 229, 230, 231, 232, 233, 234, 235, 236, 237, 239, 240, 241, 243, 244,
    248, 249, 250, 251, 252, 253, 254, 255, 256, 257, 258, 260, 261, 262, 263, 264, 266, 267, 268,
    269, 298, 350, 351, 352, 353, 354, 355, 356, 357, 358, 370, 372, 377, 378, 381, 385, 386, 387,
    389, 421, 500, 508, 590, 591, 592, 594, 595, 596, 598, 673, 675, 681, 682, 685, 686, 687, 689,
    852, 853, 855, 856, 880, 960, 961, 962, 963, 964, 965, 966, 967, 968, 971, 972, 973, 974, 977};

template <size_t N>
bool Holds(const std::array<LONG, N>& codes, LONG code) {
  return std::binary_search(codes.begin(), codes.end(), code);
}
}  // namespace

CountryNetworks NetworksOfCountry(LONG code) {
  if (Holds(kNtsc, code)) return {false, true, false};
  if (Holds(kPalD, code)) return {false, false, true};
  if (Holds(kPalX, code)) return {true, false, false};
  return {true, true, true};
}
