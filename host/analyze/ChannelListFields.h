#pragma once
// Shared wording of the channel list outputs.
#include <optional>
#include <string>

#include "DSFilters/PsiRenderer/Channel.h"

// The three language characters, or nothing when no language was given.
std::optional<std::string> LanguageText(const LanguageChars& language);
const char* StreamKindName(PsiRenderer_StreamType classification);
// The first elementary stream classified as video, or -1.
int32_t VideoPid(const CChannel& channel);
