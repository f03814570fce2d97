#include <gtest/gtest.h>

#include "Channel/KxAudioInfo.h"
#include "Channel/KxAudioPidInfo.h"
#include "Channel/KxEnumPidInfo.h"
#include "Channel/KxTeletextPidInfo.h"
#include "Channel/KxVideoInfo.h"

namespace {

template <class Class>
ComPtr<IKxPidInfo> Make() {
  ComPtr<IKxPidInfo> info;
  EXPECT_EQ(S_OK, ComObject<Class>::CreateAndQuery(info.Put()));
  return info;
}

struct KindCase {
  const char* name;
  ComPtr<IKxPidInfo> (*make)();
  LONG kind;
  GUID ownIid;
};

bool Answers(IKxPidInfo* info, const GUID& iid) {
  ComPtr<IUnknown> out;
  return info->QueryInterface(iid, out.PutVoid()) == S_OK;
}

TEST(PidInfoTest, EachClassReportsItsKindStartsAtZeroAndAnswersOnlyItsOwnInterface) {
  const KindCase cases[] = {
      {"other", &Make<CKxPidInfo>, KxPidKind_Other, IidOf<IKxPidInfo>()},
      {"video", &Make<CKxVideoPidInfo>, KxPidKind_Video, IidOf<IKxVideoPidInfo>()},
      {"audio", &Make<CKxAudioPidInfo>, KxPidKind_Audio, IidOf<IKxAudioPidInfo>()},
      {"teletext", &Make<CKxTeletextPidInfo>, KxPidKind_Teletext, IidOf<IKxTeletextPidInfo>()},
      {"pmt", &Make<CKxPmtPidInfo>, KxPidKind_Pmt, IidOf<IKxPmtPidInfo>()},
  };
  const GUID specific[] = {IidOf<IKxVideoPidInfo>(), IidOf<IKxAudioPidInfo>(), IidOf<IKxTeletextPidInfo>(),
                           IidOf<IKxPmtPidInfo>()};
  for (const KindCase& c : cases) {
    SCOPED_TRACE(c.name);
    ComPtr<IKxPidInfo> info = c.make();
    LONG kind = -1, pid = -1, type = -1;
    EXPECT_EQ(S_OK, info->get_StreamType(&kind));
    EXPECT_EQ(c.kind, kind);
    EXPECT_EQ(S_OK, info->get_Pid(&pid));
    EXPECT_EQ(0, pid);
    EXPECT_EQ(S_OK, info->get_Type(&type));
    EXPECT_EQ(0, type);
    EXPECT_EQ(E_POINTER, info->get_Pid(nullptr));
    EXPECT_EQ(E_POINTER, info->get_StreamType(nullptr));

    info->put_Pid(0x1FFF);
    info->put_Type(27);
    info->get_Pid(&pid);
    info->get_Type(&type);
    EXPECT_EQ(0x1FFF, pid);
    EXPECT_EQ(27, type);

    EXPECT_TRUE(Answers(info.Get(), IidOf<IKxPidInfo>()));
    for (const GUID& iid : specific) EXPECT_EQ(iid == c.ownIid, Answers(info.Get(), iid));
  }
}

TEST(PidInfoTest, TeletextStartsEmptyAndKeepsItsValues) {
  ComPtr<IKxTeletextPidInfo> info;
  ASSERT_EQ(S_OK, ComObject<CKxTeletextPidInfo>::CreateAndQuery(info.Put()));
  BStr language;
  LONG value = -1;
  ASSERT_EQ(S_OK, info->get_Iso639Language(language.Put()));
  EXPECT_EQ(u"", language.View());
  for (auto getter : {&IKxTeletextPidInfo::get_TeletextType, &IKxTeletextPidInfo::get_MagazineNumber,
                      &IKxTeletextPidInfo::get_PageNumber}) {
    value = -1;
    EXPECT_EQ(S_OK, (info.Get()->*getter)(&value));
    EXPECT_EQ(0, value);
    EXPECT_EQ(E_POINTER, (info.Get()->*getter)(nullptr));
  }

  BStr deu(u"deu");
  info->put_Iso639Language(deu.Get());
  info->put_TeletextType(2);
  info->put_MagazineNumber(1);
  info->put_PageNumber(0x88);
  info->get_Iso639Language(language.Put());
  EXPECT_EQ(u"deu", language.View());
  EXPECT_NE(deu.Get(), language.Get());
  info->get_TeletextType(&value);
  EXPECT_EQ(2, value);
  info->get_MagazineNumber(&value);
  EXPECT_EQ(1, value);
  info->get_PageNumber(&value);
  EXPECT_EQ(0x88, value);
  EXPECT_EQ(E_POINTER, info->get_Iso639Language(nullptr));
}

TEST(PidInfoTest, AudioKeepsLanguageAndAc3) {
  ComPtr<IKxAudioPidInfo> info;
  ASSERT_EQ(S_OK, ComObject<CKxAudioPidInfo>::CreateAndQuery(info.Put()));
  VARIANT_BOOL ac3 = VARIANT_TRUE;
  ASSERT_EQ(S_OK, info->get_Ac3(&ac3));
  EXPECT_EQ(VARIANT_FALSE, ac3);
  EXPECT_EQ(E_POINTER, info->get_Ac3(nullptr));
  BStr eng(u"eng");
  info->put_Iso639Language(eng.Get());
  info->put_Ac3(VARIANT_TRUE);
  BStr language;
  info->get_Iso639Language(language.Put());
  info->get_Ac3(&ac3);
  EXPECT_EQ(u"eng", language.View());
  EXPECT_EQ(VARIANT_TRUE, ac3);
}

std::vector<ComPtr<IKxPidInfo>> ThreePids() {
  std::vector<ComPtr<IKxPidInfo>> items;
  for (LONG pid : {100, 101, 102}) {
    items.push_back(Make<CKxPidInfo>());
    items.back()->put_Pid(pid);
  }
  return items;
}

LONG PidOf(IKxPidInfo* info) {
  LONG pid = -1;
  info->get_Pid(&pid);
  return pid;
}

TEST(EnumPidInfoTest, EmptyListFetchesNothing) {
  ComPtr<IKxEnumPidInfo> e;
  ASSERT_EQ(S_OK, ComObject<CKxEnumPidInfo>::CreateAndQuery(e.Put(), nullptr, std::vector<ComPtr<IKxPidInfo>>{}));
  IKxPidInfo* item = nullptr;
  ULONG fetched = 7;
  EXPECT_EQ(S_FALSE, e->Next(1, &item, &fetched));
  EXPECT_EQ(0u, fetched);
  EXPECT_EQ(nullptr, item);
  EXPECT_EQ(S_FALSE, e->Skip(1));
}

TEST(EnumPidInfoTest, NextSkipResetAndCloneWalkTheSnapshot) {
  ComPtr<IKxEnumPidInfo> e;
  ASSERT_EQ(S_OK, ComObject<CKxEnumPidInfo>::CreateAndQuery(e.Put(), nullptr, ThreePids()));
  IKxPidInfo* items[3] = {};
  ULONG fetched = 0;
  ASSERT_EQ(S_OK, e->Next(2, items, &fetched));
  ASSERT_EQ(2u, fetched);
  EXPECT_EQ(100, PidOf(items[0]));
  EXPECT_EQ(101, PidOf(items[1]));
  // Handed-out references belong to the caller.
  EXPECT_EQ(1u, items[0]->Release());
  items[1]->Release();

  ComPtr<IKxEnumPidInfo> copy;
  ASSERT_EQ(S_OK, e->Clone(copy.Put()));
  ASSERT_EQ(S_FALSE, e->Next(3, items, &fetched));
  ASSERT_EQ(1u, fetched);
  EXPECT_EQ(102, PidOf(items[0]));
  items[0]->Release();

  ASSERT_EQ(S_OK, copy->Next(1, items, nullptr));
  EXPECT_EQ(102, PidOf(items[0]));
  items[0]->Release();
  EXPECT_EQ(E_POINTER, copy->Next(2, items, nullptr));

  EXPECT_EQ(S_OK, e->Reset());
  EXPECT_EQ(S_OK, e->Skip(2));
  EXPECT_EQ(S_FALSE, e->Skip(2));
  EXPECT_EQ(S_FALSE, e->Next(1, items, &fetched));
  EXPECT_EQ(0u, fetched);
}

TEST(EnumPidInfoTest, HoldsItsOwnerForItsLifetime) {
  ComPtr<IKxPidInfo> owner = Make<CKxPidInfo>();
  ComPtr<IKxEnumPidInfo> e;
  ASSERT_EQ(S_OK, ComObject<CKxEnumPidInfo>::CreateAndQuery(e.Put(), owner.Get(), ThreePids()));
  EXPECT_EQ(3u, owner->AddRef());
  owner->Release();
  e.Reset();
  EXPECT_EQ(2u, owner->AddRef());
  owner->Release();
}

TEST(StreamInfoTest, VideoAndAudioInfoStartAtZeroAndReportTheirFormat) {
  ComPtr<ComObject<CKxVideoInfo>> video = ComObject<CKxVideoInfo>::Make();
  ComPtr<ComObject<CKxAudioInfo>> audio = ComObject<CKxAudioInfo>::Make();
  int64_t duration = -1;
  LONG value = -1;
  EXPECT_EQ(S_OK, video->get_FrameDuration(&duration));
  EXPECT_EQ(0, duration);
  EXPECT_EQ(S_OK, audio->get_Channels(&value));
  EXPECT_EQ(0, value);
  EXPECT_EQ(E_POINTER, video->get_Width(nullptr));
  EXPECT_EQ(E_POINTER, audio->get_BitsPerSample(nullptr));

  video->SetFormat({400000, 720, 576, 16, 9});
  audio->SetFormat({24000, 2, 48000, 16});
  video->get_FrameDuration(&duration);
  EXPECT_EQ(400000, duration);
  const std::pair<HRESULT (IKxVideoInfo::*)(LONG*), LONG> videoValues[] = {{&IKxVideoInfo::get_Width, 720},
                                                                           {&IKxVideoInfo::get_Height, 576},
                                                                           {&IKxVideoInfo::get_AspectRatioX, 16},
                                                                           {&IKxVideoInfo::get_AspectRatioY, 9}};
  for (const auto& [getter, expected] : videoValues) {
    (static_cast<IKxVideoInfo*>(video.Get())->*getter)(&value);
    EXPECT_EQ(expected, value);
  }
  const std::pair<HRESULT (IKxAudioInfo::*)(LONG*), LONG> audioValues[] = {{&IKxAudioInfo::get_AvgBytesPerSec, 24000},
                                                                           {&IKxAudioInfo::get_Channels, 2},
                                                                           {&IKxAudioInfo::get_SamplesPerSec, 48000},
                                                                           {&IKxAudioInfo::get_BitsPerSample, 16}};
  for (const auto& [getter, expected] : audioValues) {
    (static_cast<IKxAudioInfo*>(audio.Get())->*getter)(&value);
    EXPECT_EQ(expected, value);
  }
}

}  // namespace
