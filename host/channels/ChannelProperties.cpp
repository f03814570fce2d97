#include "channels/ChannelProperties.h"

#include "platform/com/Utf.h"

LONG LongOf(IKxChannel* channel, LongGetter get) {
  LONG value = -1;
  return SUCCEEDED((channel->*get)(&value)) ? value : -1;
}

std::string TextOf(IKxChannel* channel, TextGetter get) {
  BStr text;
  return SUCCEEDED((channel->*get)(text.Put())) ? text.Utf8() : std::string();
}

bool ScrambledOf(IKxChannel* channel) {
  VARIANT_BOOL scrambled = VARIANT_FALSE;
  return SUCCEEDED(channel->get_Scrambled(&scrambled)) && scrambled != VARIANT_FALSE;
}

LONG NamedLongOf(IKxChannel* channel, std::u16string_view name) {
  Variant value;
  const BStr key(name);
  if (FAILED(channel->get_Property(key.Get(), &value)) || value.vt != VT_I4) return -1;
  return value.lVal;
}

std::string NetworkNameOf(IKxChannel* channel) {
  Variant value;
  const BStr key(u"NetworkName");
  if (FAILED(channel->get_Property(key.Get(), &value)) || value.vt != VT_BSTR || !value.bstrVal) return {};
  return Utf16ToUtf8(std::u16string_view(value.bstrVal, SysStringLen(value.bstrVal)));
}

HRESULT PutText(IKxChannel* channel, HRESULT (IKxChannel::*put)(BSTR), const std::string& text) {
  const BStr value(Utf8ToUtf16(text));
  return (channel->*put)(value.Get());
}

HRESULT PutNamedLong(IKxChannel* channel, std::u16string_view name, LONG value) {
  const BStr key(name);
  return channel->put_Property(key.Get(), Variant(static_cast<int32_t>(value)));
}

HRESULT PutNamedText(IKxChannel* channel, std::u16string_view name, const std::string& text) {
  const BStr key(name);
  return channel->put_Property(key.Get(), Variant(std::u16string_view(Utf8ToUtf16(text))));
}
