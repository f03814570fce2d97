#pragma once
// Channels for the tests, built through the host interface.
#include <gtest/gtest.h>

#include "Channel/KxAudioPidInfo.h"
#include "Channel/KxChannel.h"
#include "Channel/KxTeletextPidInfo.h"

inline ComPtr<IKxChannel> NewChannel() {
  ComPtr<IKxChannel> channel;
  EXPECT_EQ(S_OK, ComObject<CKxChannel>::CreateAndQuery(channel.Put()));
  return channel;
}

template <class Class>
ComPtr<ComObject<Class>> NewPidInfo(LONG pid, LONG streamType) {
  ComPtr<ComObject<Class>> info = ComObject<Class>::Make();
  info->put_Pid(pid);
  info->put_Type(streamType);
  return info;
}

inline void AddVideo(IKxChannel* channel, LONG pid, LONG streamType) {
  EXPECT_EQ(S_OK, channel->AddPidInfo(NewPidInfo<CKxVideoPidInfo>(pid, streamType).Get()));
}

inline void AddAudio(IKxChannel* channel, LONG pid, LONG streamType, const char16_t* language, bool ac3) {
  auto info = NewPidInfo<CKxAudioPidInfo>(pid, streamType);
  BStr text{std::u16string_view(language)};
  info->put_Iso639Language(text.Get());
  info->put_Ac3(ToVariantBool(ac3));
  EXPECT_EQ(S_OK, channel->AddPidInfo(info.Get()));
}

inline void AddTeletext(IKxChannel* channel, LONG pid, const char16_t* language, LONG type, LONG magazine, LONG page) {
  auto info = NewPidInfo<CKxTeletextPidInfo>(pid, 6);
  BStr text{std::u16string_view(language)};
  info->put_Iso639Language(text.Get());
  info->put_TeletextType(type);
  info->put_MagazineNumber(magazine);
  info->put_PageNumber(page);
  EXPECT_EQ(S_OK, channel->AddPidInfo(info.Get()));
}

inline void AddPmt(IKxChannel* channel, LONG pid) {
  EXPECT_EQ(S_OK, channel->AddPidInfo(NewPidInfo<CKxPmtPidInfo>(pid, 0).Get()));
}

inline void AddOther(IKxChannel* channel, LONG pid, LONG streamType) {
  EXPECT_EQ(S_OK, channel->AddPidInfo(NewPidInfo<CKxPidInfo>(pid, streamType).Get()));
}

inline void PutText(IKxChannel* channel, HRESULT (IKxChannel::*setter)(BSTR), const char16_t* text) {
  BStr value{std::u16string_view(text)};
  EXPECT_EQ(S_OK, (channel->*setter)(value.Get()));
}

inline void PutNamed(IKxChannel* channel, const char16_t* name, const Variant& value) {
  BStr bstrName{std::u16string_view(name)};
  EXPECT_EQ(S_OK, channel->put_Property(bstrName.Get(), value));
}

inline LONG GetNamedInt(IKxChannel* channel, const char16_t* name) {
  BStr bstrName{std::u16string_view(name)};
  Variant value;
  EXPECT_EQ(S_OK, channel->get_Property(bstrName.Get(), &value));
  EXPECT_EQ(VT_I4, value.vt);
  return value.lVal;
}

inline std::u16string GetText(IKxChannel* channel, HRESULT (IKxChannel::*getter)(BSTR*)) {
  BStr value;
  EXPECT_EQ(S_OK, (channel->*getter)(value.Put()));
  return std::u16string(value.View());
}

inline LONG GetLong(IKxChannel* channel, HRESULT (IKxChannel::*getter)(LONG*)) {
  LONG value = 0x7EEEEEEE;
  EXPECT_EQ(S_OK, (channel->*getter)(&value));
  return value;
}

// A channel of `type` with every property set away from its default and one
// PID of every kind.
inline ComPtr<IKxChannel> FullChannel(LONG type) {
  ComPtr<IKxChannel> c = NewChannel();
  c->put_Type(type);
  c->put_ProgramNumber(28106);
  PutText(c.Get(), &IKxChannel::put_Title, u"Das Erste HD \u00e4\u00df & <x>");
  c->put_CountryCode(49);
  c->put_InputSource(2);
  c->put_AnalogInputType(3);
  c->put_TunerMode(4);
  c->put_Scrambled(VARIANT_TRUE);
  c->put_Visible(VARIANT_FALSE);
  PutText(c.Get(), &IKxChannel::put_VideoDevice, u"@device:pnp:\\\\?\\tuner#0");
  PutText(c.Get(), &IKxChannel::put_AudioDevice, u"audio-0");
  c->put_CarrierFrequency(11494000);
  c->put_Bandwidth(8);
  c->put_NetworkId(1);
  c->put_ServiceId(10301);
  c->put_TransportStreamId(1019);
  PutNamed(c.Get(), u"NetworkName", Variant(std::u16string_view(u"ASTRA 1")));
  PutNamed(c.Get(), u"InnerFec", Variant(int32_t{3}));
  PutNamed(c.Get(), u"OuterFec", Variant(int32_t{1}));
  PutText(c.Get(), &IKxChannel::put_Satellite, u"19.2E");
  c->put_Modulation(20);
  c->put_SymbolRate(22000);
  c->put_SignalPolarisation(2);
  PutNamed(c.Get(), u"RunningState", Variant(int32_t{4}));
  PutNamed(c.Get(), u"PcrPid", Variant(int32_t{5101}));
  c->put_ServiceType(25);
  PutText(c.Get(), &IKxChannel::put_ServiceProviderName, u"ARD");
  c->put_PhysicalChannel(34);
  c->put_MajorChannel(5);
  c->put_MinorChannel(2);
  c->put_SourceId(77);
  c->put_ChannelTsId(1020);
  c->put_ChannelFlags(6);
  PutNamed(c.Get(), u"Pilot", Variant(int32_t{1}));
  PutNamed(c.Get(), u"Rolloff", Variant(int32_t{2}));
  c->put_LnbPosition(3);
  PutNamed(c.Get(), u"HighOscillator", Variant(int32_t{10600000}));
  PutNamed(c.Get(), u"LowOscillator", Variant(int32_t{9750000}));
  PutNamed(c.Get(), u"LnbSwitch", Variant(int32_t{11700000}));
  PutNamed(c.Get(), u"VideoStreamType", Variant(int32_t{27}));
  AddPmt(c.Get(), 5100);
  AddVideo(c.Get(), 5101, 27);
  AddAudio(c.Get(), 5102, 3, u"deu", false);
  AddAudio(c.Get(), 5106, 6, u"mis", true);
  AddTeletext(c.Get(), 5104, u"deu", 1, 1, 0);
  AddOther(c.Get(), 5105, 5);
  return c;
}
