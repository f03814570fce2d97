#pragma once
// Shared wording of the channel list outputs.
#include <optional>
#include <string>

#include "DSFilters/PsiRenderer/engine/Channel.h"
#include "psi/text/SafeText.h"

// The three language characters, or nothing when no language was given.
std::optional<std::string> LanguageText(const LanguageChars& language, TextUse use);
// A teletext page as people know it (0x77 is page 77); nothing for a page
// number that is not two decimal digits.
std::optional<int> TeletextPage(uint8_t page);
const char* StreamKindName(PsiRenderer_StreamType classification);
// The coding's usual name, or nothing when the tables did not tell it.
const char* CodecName(StreamCodec codec);
// The coding of the channel's elementary stream on pid.
StreamCodec CodecOf(const CChannel& channel, uint16_t pid);
// The first elementary stream classified as video, or -1.
int32_t VideoPid(const CChannel& channel);
