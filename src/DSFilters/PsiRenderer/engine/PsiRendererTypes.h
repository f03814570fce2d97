#pragma once
// Classification of an elementary stream and the network type a filter serves.
#include <cstdint>

enum PsiRenderer_StreamType : int32_t {
  PsiRenderer_StreamType_Unknown = 0,
  PsiRenderer_StreamType_Pmt = 1,
  PsiRenderer_StreamType_Video = 2,
  PsiRenderer_StreamType_Audio = 3,
  PsiRenderer_StreamType_Teletext = 4,
};

enum PsiRenderer_NetworkType : int32_t {
  PsiRenderer_NetworkType_Dvbs = 0,
  PsiRenderer_NetworkType_Dvbc = 1,
  PsiRenderer_NetworkType_Dvbt = 2,
  PsiRenderer_NetworkType_Atsc = 3,
};
