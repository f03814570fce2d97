#pragma once
// Reading and writing a channel object's properties through its interfaces.
#include <string>

#include "interfaces/IKxChannel.h"

using LongGetter = HRESULT (IKxChannel::*)(LONG*);
using TextGetter = HRESULT (IKxChannel::*)(BSTR*);

// -1 (unknown) when the getter fails.
LONG LongOf(IKxChannel* channel, LongGetter get);
std::string TextOf(IKxChannel* channel, TextGetter get);
bool ScrambledOf(IKxChannel* channel);
// A named 32-bit property ("PcrPid", "RunningState", ...), -1 when unset.
LONG NamedLongOf(IKxChannel* channel, std::u16string_view name);
std::string NetworkNameOf(IKxChannel* channel);

HRESULT PutText(IKxChannel* channel, HRESULT (IKxChannel::*put)(BSTR), const std::string& text);
HRESULT PutNamedLong(IKxChannel* channel, std::u16string_view name, LONG value);
HRESULT PutNamedText(IKxChannel* channel, std::u16string_view name, const std::string& text);
