// The plug-in object linked in without the module object (g_MainModule unset).
#include <gtest/gtest.h>

#include "Main/DigitalTvPlugin.h"

namespace {

TEST(PluginObjectWithoutModule, TuningDataNeedsTheModule) {
  ComPtr<IKxTuningDataResource> resource;
  ASSERT_EQ(ComObject<CDigitalTvPlugin>::CreateAndQuery(resource.Put()), S_OK);
  const BStr type(u"KxTuningDataType_Dvbs");
  BStr xml;
  EXPECT_EQ(resource->GetTuningDataFromResource(type.Get(), xml.Put()), E_POINTER);
}

TEST(PluginObjectWithoutModule, BaseAnswersItsOwnName) {
  ComPtr<IKxTvPlugin> base;
  ASSERT_EQ(ComObject<CTvPluginBase>::CreateAndQuery(base.Put()), S_OK);
  BStr name;
  ASSERT_EQ(base->get_Name(name.Put()), S_OK);
  EXPECT_EQ(name.View(), u"TvPluginBase");
  IUnknown* configuration = nullptr;
  EXPECT_EQ(base->CreateSystemConfiguration(&configuration), E_NOTIMPL);
  EXPECT_FALSE(QueryAs<IKxTuningDataResource>(base.Get()));
}

}  // namespace
