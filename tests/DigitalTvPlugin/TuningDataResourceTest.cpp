#include "LoadedPlugin.h"
#include "Tuner/FrequencyListResource.h"

namespace {

using TuningDataResource = LoadedPlugin;

ComPtr<IKxTuningDataResource> Resource(const ComPtr<IKxTvPlugin>& plugin) {
  return QueryAs<IKxTuningDataResource>(plugin.Get());
}

TEST_F(TuningDataResource, ReturnsTheEmbeddedListsCharacterForByte) {
  const struct {
    const char16_t* type;
    int id;
  } cases[] = {
      {u"KxTuningDataType_Dvbs", kFrequencyListDvbs},
      {u"KxTuningDataType_Dvbc", kFrequencyListDvbc},
      {u"KxTuningDataType_Dvbt", kFrequencyListDvbt},
  };
  ComPtr<IKxTuningDataResource> resource = Resource(CreatePlugin());
  ASSERT_TRUE(resource);
  for (const auto& c : cases) {
    const BStr type(c.type);
    BStr xml;
    ASSERT_EQ(resource->GetTuningDataFromResource(type.Get(), xml.Put()), S_OK) << c.id;
    const std::string_view bytes = FindFrequencyListResource(c.id);
    ASSERT_EQ(xml.Length(), bytes.size()) << c.id;
    EXPECT_TRUE(std::equal(bytes.begin(), bytes.end(), xml.View().begin(),
                           [](char b, char16_t ch) { return static_cast<char16_t>(b) == ch; }))
        << c.id;
  }
}

TEST_F(TuningDataResource, CableListStartsWithTheXmlDeclaration) {
  ComPtr<IKxTuningDataResource> resource = Resource(CreatePlugin());
  const BStr type(u"KxTuningDataType_Dvbc");
  BStr xml;
  ASSERT_EQ(resource->GetTuningDataFromResource(type.Get(), xml.Put()), S_OK);
  EXPECT_TRUE(xml.View().starts_with(u"<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n"));
  EXPECT_EQ(xml.Length(), FindFrequencyListResource(kFrequencyListDvbc).size());
}

TEST_F(TuningDataResource, RejectsOtherTypesAndNullPointers) {
  ComPtr<IKxTuningDataResource> resource = Resource(CreatePlugin());
  for (const char16_t* other : {u"KxTuningDataType_dvbs", u"KXTUNINGDATATYPE_DVBC", u"KxTuningDataType_Atsc",
                                u"KxTuningDataType_Dvbt ", u""}) {
    const BStr type(other);
    BSTR xml = reinterpret_cast<BSTR>(&resource);
    EXPECT_EQ(resource->GetTuningDataFromResource(type.Get(), &xml), E_FAIL);
    EXPECT_EQ(xml, nullptr);
  }
  const BStr type(u"KxTuningDataType_Dvbs");
  BStr xml;
  EXPECT_EQ(resource->GetTuningDataFromResource(nullptr, xml.Put()), E_POINTER);
  EXPECT_EQ(resource->GetTuningDataFromResource(type.Get(), nullptr), E_POINTER);
}

}  // namespace
