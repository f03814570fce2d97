#include <gtest/gtest.h>

#include "platform/com/BStr.h"
#include "platform/com/ComObject.h"
#include "platform/com/Date.h"
#include "platform/com/Utf.h"
#include "platform/com/Variant.h"

namespace {

struct IBase : IUnknown {
  DTV_DECLARE_IID("{11111111-2222-3333-4444-555555555555}");
  virtual int Value() = 0;
};
struct IDerived : IBase {
  DTV_DECLARE_IID("{11111111-2222-3333-4444-555555555556}");
  virtual int Twice() = 0;
};
struct IOther : IUnknown {
  DTV_DECLARE_IID("{11111111-2222-3333-4444-555555555557}");
  virtual int Other() = 0;
};

class CSample : public IDerived, public IOther {
 public:
  using InterfaceMap = ::InterfaceMap<IDerived, InterfaceVia<IBase, IDerived>, IOther>;
  explicit CSample(int v) : m_v(v) {}
  int Value() override { return m_v; }
  int Twice() override { return 2 * m_v; }
  int Other() override { return -m_v; }
  virtual ~CSample() = default;

 private:
  int m_v;
};

TEST(Guid, ParsesAndPrintsRegistryForm) {
  constexpr GUID g = MakeGuid("{9C4DE146-AC81-421E-B53A-F6B3A5EC684E}");
  EXPECT_EQ(g.Data1, 0x9C4DE146u);
  EXPECT_EQ(g.Data2, 0xAC81);
  EXPECT_EQ(g.Data4[0], 0xB5);
  EXPECT_EQ(g.Data4[7], 0x4E);
  EXPECT_EQ(GuidToString(g), "{9C4DE146-AC81-421E-B53A-F6B3A5EC684E}");
  EXPECT_EQ(*ParseGuid("{9c4de146-ac81-421e-b53a-f6b3a5ec684e}"), g);
  for (const char* bad : {"", "9C4DE146-AC81-421E-B53A-F6B3A5EC684E", "{9C4DE146-AC81-421E-B53A-F6B3A5EC684G}",
                          "{9C4DE146+AC81-421E-B53A-F6B3A5EC684E}"})
    EXPECT_FALSE(ParseGuid(bad)) << bad;
}

TEST(ComObject, AnswersExactlyItsInterfacesWithStableIdentity) {
  const LONG before = ModuleLock::Value();
  IDerived* derived = nullptr;
  ASSERT_EQ(ComObject<CSample>::CreateAndQuery(&derived, 21), S_OK);
  EXPECT_EQ(ModuleLock::Value(), before + 1);
  EXPECT_EQ(derived->Twice(), 42);

  ComPtr<IBase> base;
  ASSERT_EQ(derived->QueryInterface(IidOf<IBase>(), base.PutVoid()), S_OK);
  EXPECT_EQ(base->Value(), 21);
  ComPtr<IOther> other = QueryAs<IOther>(derived);
  ASSERT_TRUE(other);
  EXPECT_EQ(other->Other(), -21);

  ComPtr<IUnknown> u1 = QueryAs<IUnknown>(derived);
  ComPtr<IUnknown> u2 = QueryAs<IUnknown>(other.Get());
  EXPECT_EQ(u1.Get(), u2.Get());

  void* none = reinterpret_cast<void*>(1);
  EXPECT_EQ(derived->QueryInterface(MakeGuid("{00000000-0000-0000-0000-000000000001}"), &none), E_NOINTERFACE);
  EXPECT_EQ(none, nullptr);
  EXPECT_EQ(derived->QueryInterface(IidOf<IBase>(), nullptr), E_POINTER);

  base.Reset();
  other.Reset();
  u1.Reset();
  u2.Reset();
  EXPECT_EQ(derived->Release(), 0u);
  EXPECT_EQ(ModuleLock::Value(), before);
}

TEST(BStr, KeepsLengthAndEmbeddedZeros) {
  const char16_t text[] = {u'a', 0, u'b'};
  BStr s(std::u16string_view(text, 3));
  EXPECT_EQ(s.Length(), 3u);
  EXPECT_EQ(s.Get()[3], 0);
  EXPECT_EQ(SysStringLen(nullptr), 0u);
  BSTR out = nullptr;
  EXPECT_EQ(AllocOutString(u"xyz", &out), S_OK);
  EXPECT_EQ(BStr::Attach(out).View(), u"xyz");
  EXPECT_EQ(AllocOutString(u"xyz", nullptr), E_POINTER);
}

TEST(Utf, RoundTripsAndReplacesInvalidInput) {
  const std::string text = "France \xC3\x94 \xE2\x82\xAC \xF0\x9F\x93\xBA";
  EXPECT_EQ(Utf16ToUtf8(Utf8ToUtf16(text)), text);
  EXPECT_EQ(Utf8ToUtf16("\xC3"), u"\uFFFD");
  EXPECT_EQ(Utf8ToUtf16("\xC0\x80"), u"\uFFFD\uFFFD");  // overlong
  EXPECT_EQ(Utf16ToUtf8(std::u16string(1, char16_t(0xD800))), "\xEF\xBF\xBD");
}

TEST(Variant, CopiesClearsAndChangesType) {
  Variant s(std::u16string_view(u"1234"));
  Variant copy(s);
  EXPECT_NE(copy.bstrVal, s.bstrVal);
  Variant i4;
  ASSERT_EQ(VariantChangeType(&i4, &s, 0, VT_I4), S_OK);
  EXPECT_EQ(i4.vt, VT_I4);
  EXPECT_EQ(i4.lVal, 1234);
  Variant back;
  ASSERT_EQ(VariantChangeType(&back, &i4, 0, VT_BSTR), S_OK);
  EXPECT_EQ(std::u16string_view(back.bstrVal), u"1234");
  Variant big;
  big.vt = VT_I8;
  big.llVal = int64_t(1) << 40;
  Variant narrowed;
  EXPECT_EQ(VariantChangeType(&narrowed, &big, 0, VT_I2), DISP_E_TYPEMISMATCH);
  Variant word(std::u16string_view(u"abc"));
  EXPECT_EQ(VariantChangeType(&narrowed, &word, 0, VT_I4), DISP_E_TYPEMISMATCH);
  Variant flag(true);
  ASSERT_EQ(VariantChangeType(&narrowed, &flag, 0, VT_I4), S_OK);
  EXPECT_EQ(narrowed.lVal, -1);
  VariantClear(&s);
  EXPECT_EQ(s.vt, VT_EMPTY);
}

TEST(Date, CountsDaysFrom1899) {
  EXPECT_DOUBLE_EQ(CalendarToDate(1899, 12, 30, 0, 0, 0), 0.0);
  EXPECT_DOUBLE_EQ(CalendarToDate(1970, 1, 1, 12, 0, 0), 25569.5);
  EXPECT_DOUBLE_EQ(CalendarToDate(2000, 3, 1, 0, 0, 0), 36586.0);
}

}  // namespace
