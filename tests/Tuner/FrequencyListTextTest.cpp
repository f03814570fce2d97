// The embedded lists as text: exact bytes, encoding, line ends, root element.
#include <fstream>
#include <iterator>
#include <regex>
#include <set>
#include <string>

#include "Tuner/FrequencyListDocument.h"

namespace {

struct ListCase {
  int id;
  const char* file;
  const char* networkType;
};

void PrintTo(const ListCase& c, std::ostream* os) { *os << c.file; }

class FrequencyListText : public testing::TestWithParam<ListCase> {};

TEST_P(FrequencyListText, IsTheCommittedFileByteForByte) {
  std::ifstream in(std::string(DTV_DATA_DIR) + "/" + GetParam().file, std::ios::binary);
  ASSERT_TRUE(in) << GetParam().file;
  const std::string file{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  EXPECT_EQ(FindFrequencyListResource(GetParam().id), file);
}

TEST_P(FrequencyListText, IsAsciiWithCrLfLineEnds) {
  const std::string_view text = FindFrequencyListResource(GetParam().id);
  ASSERT_FALSE(text.empty());
  EXPECT_TRUE(text.starts_with("<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n"));
  EXPECT_TRUE(text.ends_with(">\r\n"));
  for (size_t i = 0; i < text.size(); ++i) {
    const unsigned char c = text[i];
    ASSERT_LT(c, 0x80) << "non-ASCII byte at " << i;
    ASSERT_NE(c, 0) << "NUL at " << i;
    if (c == '\r') {
      ASSERT_TRUE(i + 1 < text.size() && text[i + 1] == '\n') << "bare CR at " << i;
    }
    if (c == '\n') {
      ASSERT_TRUE(i > 0 && text[i - 1] == '\r') << "bare LF at " << i;
    }
  }
}

TEST_P(FrequencyListText, RootIsTheNetworkType) {
  const pugi::xml_document doc = ParseFrequencyList(GetParam().id);
  const pugi::xml_node root = doc.document_element();
  EXPECT_STREQ(root.name(), "NetworkType");
  EXPECT_STREQ(root.attribute("name").value(), GetParam().networkType);
}

INSTANTIATE_TEST_SUITE_P(BuiltIn, FrequencyListText,
                         testing::Values(ListCase{kFrequencyListDvbs, "FrequencyListDvbs.xml", "DVB-S"},
                                         ListCase{kFrequencyListDvbc, "FrequencyListDvbc.xml", "DVB-C"},
                                         ListCase{kFrequencyListDvbt, "FrequencyListDvbt.xml", "DVB-T"}),
                         [](const testing::TestParamInfo<ListCase>& info) {
                           return std::string(info.param.networkType).erase(3, 1);
                         });

TEST(FrequencyListResource, OtherIdentifiersHaveNoList) {
  for (int id : {-1, 0, 200, 204, 301}) EXPECT_TRUE(FindFrequencyListResource(id).empty()) << id;
}

TEST(FrequencyListResource, DvbsCommentListsTheModulationEnumeration) {
  const pugi::xml_document doc = ParseFrequencyList(kFrequencyListDvbs);
  const pugi::xml_node comment = doc.document_element().previous_sibling();
  ASSERT_EQ(comment.type(), pugi::node_comment);
  const std::string text = comment.value();
  const std::regex entry(R"((BDA_MOD_\w+) = (\d+))");
  std::set<int> values;
  for (auto it = std::sregex_iterator(text.begin(), text.end(), entry); it != std::sregex_iterator(); ++it)
    EXPECT_TRUE(values.insert(std::stoi((*it)[2])).second) << (*it)[0];
  EXPECT_EQ(values.size(), 34u);
  EXPECT_EQ(*values.begin(), 0);
  EXPECT_EQ(*values.rbegin(), 33);
  for (const char* line : {"BDA_MOD_NOT_DEFINED = 0", "BDA_MOD_QPSK = 20", "BDA_MOD_8PSK = 27",
                           "BDA_MOD_16APSK = 29", "BDA_MOD_32APSK = 30", "BDA_MOD_NBC_QPSK = 31",
                           "BDA_MOD_NBC_8PSK = 32", "BDA_MOD_DIRECTV = 33"})
    EXPECT_NE(text.find(line), std::string::npos) << line;
}

}  // namespace
