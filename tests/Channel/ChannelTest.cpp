#include <gtest/gtest.h>

#include "ChannelBuilder.h"

namespace {

TEST(ChannelTest, FreshChannelHasTheDefaults) {
  ComPtr<IKxChannel> c = NewChannel();
  EXPECT_EQ(0, GetLong(c.Get(), &IKxChannel::get_Type));
  EXPECT_EQ(-1, GetLong(c.Get(), &IKxChannel::get_ProgramNumber));
  EXPECT_EQ(1, GetLong(c.Get(), &IKxChannel::get_TunerMode));
  EXPECT_EQ(0, GetLong(c.Get(), &IKxChannel::get_LnbPosition));
  EXPECT_EQ(-1, GetLong(c.Get(), &IKxChannel::get_ServiceId));
  EXPECT_EQ(0, GetLong(c.Get(), &IKxChannel::get_PidInfoCount));
  VARIANT_BOOL flag = VARIANT_FALSE;
  EXPECT_EQ(S_OK, c->get_Visible(&flag));
  EXPECT_EQ(VARIANT_TRUE, flag);
  EXPECT_EQ(S_OK, c->get_Scrambled(&flag));
  EXPECT_EQ(VARIANT_FALSE, flag);
  EXPECT_EQ(u"", GetText(c.Get(), &IKxChannel::get_Title));
  EXPECT_EQ(-1, GetNamedInt(c.Get(), u"SignalQuality"));
  EXPECT_EQ(0, GetNamedInt(c.Get(), u"VideoStreamType"));
  EXPECT_EQ(E_POINTER, c->get_Type(nullptr));
  EXPECT_EQ(E_POINTER, c->get_Title(nullptr));
  EXPECT_EQ(E_POINTER, c->get_IsTv(nullptr));
}

TEST(ChannelTest, RadioAndTvFollowTheType) {
  ComPtr<IKxChannel> c = NewChannel();
  for (LONG type = 0; type <= 11; ++type) {
    SCOPED_TRACE(type);
    c->put_Type(type);
    VARIANT_BOOL radio = VARIANT_TRUE, tv = VARIANT_TRUE;
    ASSERT_EQ(S_OK, c->get_IsRadio(&radio));
    ASSERT_EQ(S_OK, c->get_IsTv(&tv));
    EXPECT_EQ(ToVariantBool(type >= 1 && type <= 9 && type % 2 == 1), radio);
    EXPECT_EQ(ToVariantBool(type >= 2 && type <= 10 && type % 2 == 0), tv);
  }
}

TEST(ChannelTest, NamedPropertiesConvertTheirValues) {
  ComPtr<IKxChannel> c = NewChannel();
  PutNamed(c.Get(), u"PcrPid", Variant(std::u16string_view(u"-17")));
  EXPECT_EQ(-17, GetNamedInt(c.Get(), u"PcrPid"));
  PutNamed(c.Get(), u"NetworkName", Variant(int32_t{42}));
  BStr name(u"NetworkName");
  Variant value;
  ASSERT_EQ(S_OK, c->get_Property(name.Get(), &value));
  ASSERT_EQ(VT_BSTR, value.vt);
  EXPECT_EQ(u"42", std::u16string_view(value.bstrVal, SysStringLen(value.bstrVal)));

  BStr pilot(u"Pilot");
  EXPECT_NE(S_OK, c->put_Property(pilot.Get(), Variant(std::u16string_view(u"many"))));
  EXPECT_EQ(-1, GetNamedInt(c.Get(), u"Pilot"));
  BStr unknown(u"pilot");
  EXPECT_EQ(E_INVALIDARG, c->put_Property(unknown.Get(), Variant(int32_t{1})));
  EXPECT_EQ(E_INVALIDARG, c->get_Property(unknown.Get(), &value));
  EXPECT_EQ(E_POINTER, c->put_Property(nullptr, Variant(int32_t{1})));
  EXPECT_EQ(E_POINTER, c->get_Property(nullptr, &value));
  EXPECT_EQ(E_POINTER, c->get_Property(pilot.Get(), nullptr));
}

TEST(ChannelTest, PidRecordsAreOrderedByPidAndHandedOutByKind) {
  ComPtr<IKxChannel> c = FullChannel(KxChannelType_DvbsTv);
  const std::pair<LONG, LONG> expected[] = {{5100, KxPidKind_Pmt},   {5101, KxPidKind_Video},
                                            {5102, KxPidKind_Audio}, {5104, KxPidKind_Teletext},
                                            {5105, KxPidKind_Other}, {5106, KxPidKind_Audio}};
  ASSERT_EQ(6, GetLong(c.Get(), &IKxChannel::get_PidInfoCount));
  for (LONG i = 0; i < 6; ++i) {
    ComPtr<IKxPidInfo> info;
    ASSERT_EQ(S_OK, c->get_PidInfoByIndex(i, info.Put()));
    LONG pid = 0, kind = -1;
    info->get_Pid(&pid);
    info->get_StreamType(&kind);
    EXPECT_EQ(expected[i].first, pid);
    EXPECT_EQ(expected[i].second, kind);
  }
  ComPtr<IKxPidInfo> info;
  ASSERT_EQ(S_OK, c->get_PidInfoByIndex(3, info.Put()));
  ComPtr<IKxTeletextPidInfo> teletext = QueryAs<IKxTeletextPidInfo>(info.Get());
  ASSERT_TRUE(teletext);
  BStr language;
  LONG magazine = -1;
  teletext->get_Iso639Language(language.Put());
  teletext->get_MagazineNumber(&magazine);
  EXPECT_EQ(u"deu", language.View());
  EXPECT_EQ(1, magazine);

  EXPECT_EQ(E_INVALIDARG, c->get_PidInfoByIndex(6, info.Put()));
  EXPECT_EQ(E_INVALIDARG, c->get_PidInfoByIndex(-1, info.Put()));
  EXPECT_EQ(E_POINTER, c->get_PidInfoByIndex(0, nullptr));
  EXPECT_EQ(E_POINTER, c->AddPidInfo(nullptr));
}

TEST(ChannelTest, AddingAPidAgainReplacesItsRecord) {
  ComPtr<IKxChannel> c = NewChannel();
  AddAudio(c.Get(), 0x100, 3, u"eng", false);
  AddVideo(c.Get(), 0x100, 2);
  ASSERT_EQ(1, GetLong(c.Get(), &IKxChannel::get_PidInfoCount));
  ComPtr<IKxPidInfo> info;
  ASSERT_EQ(S_OK, c->get_PidInfoByIndex(0, info.Put()));
  LONG kind = 0, type = 0;
  info->get_StreamType(&kind);
  info->get_Type(&type);
  EXPECT_EQ(KxPidKind_Video, kind);
  EXPECT_EQ(2, type);
}

// Audio and teletext objects without their extended interfaces.
class BareAudioPidInfo : public CKxPidInfoBase<IKxPidInfo, KxPidKind_Audio> {
 public:
  using InterfaceMap = ::InterfaceMap<IKxPidInfo>;
};
class BareTeletextPidInfo : public CKxPidInfoBase<IKxPidInfo, KxPidKind_Teletext> {
 public:
  using InterfaceMap = ::InterfaceMap<IKxPidInfo>;
};

TEST(ChannelTest, ForeignPidInfoWithoutDetailsGetsEmptyDetails) {
  ComPtr<IKxChannel> c = NewChannel();
  ASSERT_EQ(S_OK, c->AddPidInfo(NewPidInfo<BareAudioPidInfo>(10, 4).Get()));
  ASSERT_EQ(S_OK, c->AddPidInfo(NewPidInfo<BareTeletextPidInfo>(11, 6).Get()));
  ComPtr<IKxPidInfo> info;
  ASSERT_EQ(S_OK, c->get_PidInfoByIndex(1, info.Put()));
  ComPtr<IKxTeletextPidInfo> teletext = QueryAs<IKxTeletextPidInfo>(info.Get());
  ASSERT_TRUE(teletext);
  LONG value = 0;
  teletext->get_TeletextType(&value);
  EXPECT_EQ(-1, value);
  teletext->get_PageNumber(&value);
  EXPECT_EQ(-1, value);
  ASSERT_EQ(S_OK, c->get_PidInfoByIndex(0, info.Put()));
  ComPtr<IKxAudioPidInfo> audio = QueryAs<IKxAudioPidInfo>(info.Get());
  ASSERT_TRUE(audio);
  VARIANT_BOOL ac3 = VARIANT_TRUE;
  audio->get_Ac3(&ac3);
  EXPECT_EQ(VARIANT_FALSE, ac3);
}

TEST(ChannelTest, IsEqualNeedsAVideoDevice) {
  ComPtr<IKxChannel> c = NewChannel();
  EXPECT_EQ(S_FALSE, c->IsEqual(c.Get()));
  PutText(c.Get(), &IKxChannel::put_VideoDevice, u"tuner");
  EXPECT_EQ(S_OK, c->IsEqual(c.Get()));
  EXPECT_EQ(E_POINTER, c->IsEqual(nullptr));
}

TEST(ChannelTest, IsEqualComparesOnlyTheIdentifyingValues) {
  struct Change {
    const char* name;
    void (*apply)(IKxChannel*);
    HRESULT expected;
  };
  const Change changes[] = {
      {"service id", [](IKxChannel* c) { c->put_ServiceId(1); }, S_FALSE},
      {"lnb position", [](IKxChannel* c) { c->put_LnbPosition(0); }, S_FALSE},
      {"video device", [](IKxChannel* c) { PutText(c, &IKxChannel::put_VideoDevice, u"other"); }, S_FALSE},
      {"lnb switch", [](IKxChannel* c) { PutNamed(c, u"LnbSwitch", Variant(int32_t{0})); }, S_FALSE},
      {"video stream type", [](IKxChannel* c) { PutNamed(c, u"VideoStreamType", Variant(int32_t{2})); }, S_FALSE},
      {"audio language", [](IKxChannel* c) { AddAudio(c, 5102, 3, u"eng", false); }, S_FALSE},
      {"teletext page", [](IKxChannel* c) { AddTeletext(c, 5104, u"deu", 1, 1, 1); }, S_FALSE},
      {"extra pid", [](IKxChannel* c) { AddOther(c, 8000, 5); }, S_FALSE},
      {"title", [](IKxChannel* c) { PutText(c, &IKxChannel::put_Title, u"other"); }, S_OK},
      {"visible", [](IKxChannel* c) { c->put_Visible(VARIANT_TRUE); }, S_OK},
      {"satellite", [](IKxChannel* c) { PutText(c, &IKxChannel::put_Satellite, u"13E"); }, S_OK},
      {"pilot", [](IKxChannel* c) { PutNamed(c, u"Pilot", Variant(int32_t{0})); }, S_OK},
      {"source id", [](IKxChannel* c) { c->put_SourceId(0); }, S_OK},
  };
  for (const Change& change : changes) {
    SCOPED_TRACE(change.name);
    ComPtr<IKxChannel> a = FullChannel(KxChannelType_DvbsTv);
    ComPtr<IKxChannel> b = FullChannel(KxChannelType_DvbsTv);
    ASSERT_EQ(S_OK, a->IsEqual(b.Get()));
    change.apply(b.Get());
    EXPECT_EQ(change.expected, a->IsEqual(b.Get()));
    EXPECT_EQ(change.expected, b->IsEqual(a.Get()));
  }
}

TEST(ChannelTest, CloneCopiesEverything) {
  ComPtr<IKxChannel> c = FullChannel(KxChannelType_DvbtTv);
  ComPtr<IKxChannel> copy;
  ASSERT_EQ(S_OK, c->Clone(copy.Put()));
  ASSERT_NE(c.Get(), copy.Get());
  EXPECT_EQ(S_OK, copy->IsEqual(c.Get()));
  EXPECT_EQ(GetText(c.Get(), &IKxChannel::get_Title), GetText(copy.Get(), &IKxChannel::get_Title));
  EXPECT_EQ(u"19.2E", GetText(copy.Get(), &IKxChannel::get_Satellite));
  EXPECT_EQ(5101, GetNamedInt(copy.Get(), u"PcrPid"));
  // The copy is independent.
  copy->put_ServiceId(1);
  EXPECT_EQ(10301, GetLong(c.Get(), &IKxChannel::get_ServiceId));
  EXPECT_EQ(E_POINTER, c->Clone(nullptr));
}

struct DefaultPids {
  LONG video = -1, audio = -1, pmt = -1, videoType = -1, audioType = -1;
  bool ac3 = true;
  HRESULT Read(IKxChannel* c) {
    return CKxChannel::GetDefaultChannelPids(c, &video, &audio, &pmt, &videoType, &audioType, &ac3);
  }
};

TEST(ChannelTest, DefaultPidsTakeTheFirstAudioAndTheLastVideo) {
  ComPtr<IKxChannel> c = NewChannel();
  AddVideo(c.Get(), 0x200, 2);
  AddVideo(c.Get(), 0x210, 27);
  AddAudio(c.Get(), 0x300, 6, u"deu", true);
  AddAudio(c.Get(), 0x310, 3, u"eng", false);
  AddPmt(c.Get(), 0x100);
  AddOther(c.Get(), 0x400, 5);
  DefaultPids pids;
  ASSERT_EQ(S_OK, pids.Read(c.Get()));
  EXPECT_EQ(0x210, pids.video);
  EXPECT_EQ(27, pids.videoType);
  EXPECT_EQ(0x300, pids.audio);
  EXPECT_EQ(6, pids.audioType);
  EXPECT_TRUE(pids.ac3);
  EXPECT_EQ(0x100, pids.pmt);
}

TEST(ChannelTest, DefaultPidsOfAnEmptyChannelAreZero) {
  DefaultPids pids;
  ASSERT_EQ(S_OK, pids.Read(NewChannel().Get()));
  EXPECT_EQ(0, pids.video);
  EXPECT_EQ(0, pids.audio);
  EXPECT_EQ(0, pids.pmt);
  EXPECT_EQ(0, pids.videoType);
  EXPECT_EQ(0, pids.audioType);
  EXPECT_FALSE(pids.ac3);
  EXPECT_EQ(E_POINTER, pids.Read(nullptr));
  LONG v = 0;
  EXPECT_EQ(E_POINTER, CKxChannel::GetDefaultChannelPids(NewChannel().Get(), &v, &v, &v, &v, &v, nullptr));
}

}  // namespace
