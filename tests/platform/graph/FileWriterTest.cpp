#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/graph/FileWriterFilter.h"
#include "platform/graph/FilterGraph.h"
#include "platform/graph/TestFilters.h"
#include "support/FileBytes.h"
#include "support/TempDir.h"

namespace {
struct FileWriterTest : ::testing::Test {
  TempDir dir;
  ComPtr<ComObject<CFilterGraph>> graph = ComObject<CFilterGraph>::Make();
  ComPtr<ComObject<CTestSource>> source = ComObject<CTestSource>::Make();
  ComPtr<ComObject<CFileWriterFilter>> writer = ComObject<CFileWriterFilter>::Make();

  void Build(const std::string& path) {
    const std::u16string name(path.begin(), path.end());
    ASSERT_EQ(writer->SetFileName(name.c_str(), nullptr), S_OK);
    ASSERT_EQ(graph->AddFilter(source.Get(), u"Source"), S_OK);
    ASSERT_EQ(graph->AddFilter(writer.Get(), u"File writer"), S_OK);
    ASSERT_EQ(graph->ConnectDirect(PinOf(source.Get(), u"Output").Get(), PinOf(writer.Get(), u"in").Get(), nullptr),
              S_OK);
  }
  void Push(const std::string& bytes) {
    auto sample = ComObject<CMediaSample>::Make(bytes.size());
    uint8_t* data = nullptr;
    sample->GetPointer(&data);
    std::copy(bytes.begin(), bytes.end(), data);
    sample->SetActualDataLength(static_cast<LONG>(bytes.size()));
    ASSERT_EQ(source->Push(sample.Get()), S_OK);
  }
};
}  // namespace

TEST_F(FileWriterTest, WritesEverySampleAndCompletesAtTheEndOfTheStream) {
  const std::string path = dir / "out.ts";
  Build(path);
  ASSERT_EQ(graph->Run(), S_OK);
  Push("first ");
  Push(std::string(70000, 'x'));
  Push("last");
  // Until the end the file is written under its temporary name.
  EXPECT_FALSE(std::filesystem::exists(path));
  EXPECT_TRUE(std::filesystem::exists(path + ".part"));
  EXPECT_EQ(writer->BytesWritten(), 70010u);
  ASSERT_EQ(source->Output().DeliverEndOfStream(), S_OK);
  GraphEvent event{};
  ASSERT_TRUE(graph->GetEvent(&event, 0));
  EXPECT_EQ(event.code, EC_COMPLETE);
  EXPECT_EQ(ReadFileBytes(path), "first " + std::string(70000, 'x') + "last");
  EXPECT_FALSE(std::filesystem::exists(path + ".part"));
  ASSERT_EQ(graph->Stop(), S_OK);
}

TEST_F(FileWriterTest, StopCompletesTheFileToo) {
  const std::string path = dir / "stopped.ts";
  Build(path);
  ASSERT_EQ(graph->Pause(), S_OK);
  Push("abc");
  ASSERT_EQ(graph->Stop(), S_OK);
  EXPECT_EQ(ReadFileBytes(path), "abc");
  std::u16string current;
  ASSERT_EQ(writer->GetCurFile(&current, nullptr), S_OK);
  EXPECT_EQ(current, std::u16string(path.begin(), path.end()));
}

TEST_F(FileWriterTest, RefusesBadNamesAndAPlaceItCannotWrite) {
  EXPECT_EQ(writer->SetFileName(nullptr, nullptr), E_POINTER);
  EXPECT_EQ(writer->SetFileName(u"", nullptr), E_INVALIDARG);
  std::u16string none;
  EXPECT_EQ(writer->GetCurFile(&none, nullptr), E_FAIL);
  Build(dir / "missing-dir/out.ts");
  EXPECT_EQ(graph->Run(), E_FAIL);
  EXPECT_EQ(writer->State(), State_Stopped);
}
