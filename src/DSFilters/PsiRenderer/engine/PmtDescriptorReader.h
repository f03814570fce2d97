#pragma once
// The descriptors both PMT flavours read alike: languages, teletext and subtitles.
#include <map>
#include "DSFilters/PsiRenderer/engine/Channel.h"
#include "psi/descriptors/Descriptors.h"
#include "psi/mpeg/PmtSection.h"

// Audio streams by PID: records come out in ascending PID order.
using AudioMap = std::map<uint16_t, AudioRecord>;

// The entry for pid, created when absent.
AudioRecord& AudioEntry(AudioMap& audio, uint16_t pid);

// Handles tags 0x0A, 0x56 and 0x59. Returns true when the descriptor was one of them.
bool ReadCommonPmtDescriptor(const CDescriptorEntry& descriptor, const PmtStream& stream, CChannel& channel,
                             AudioMap& audio, bool& teletext);
