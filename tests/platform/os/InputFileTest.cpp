// Reading a recording the way it is given: a file that shrinks while it is
// read, a FIFO read twice, the same file under another name.
#include "platform/os/InputFile.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "support/TempDir.h"

namespace {

std::string ReadRest(CInputFile& input, size_t piece = 4096) {
  std::string text;
  std::string buffer(piece, '\0');
  while (size_t got = input.Read({reinterpret_cast<uint8_t*>(buffer.data()), buffer.size()})) text.append(buffer, 0, got);
  return text;
}

std::string Pattern(size_t size) {
  std::string text(size, '\0');
  for (size_t i = 0; i < size; ++i) text[i] = static_cast<char>('a' + i % 26);
  return text;
}

TEST(InputFileTest, FileThatShrinksWhileReadEndsSooner) {
  TempDir dir;
  const std::string content = Pattern(1 << 20);
  const std::string path = dir.Write("growing.ts", content);
  CInputFile input;
  ASSERT_TRUE(input.Open(path)) << input.Error();
  std::string start(1000, '\0');
  ASSERT_EQ(input.Read({reinterpret_cast<uint8_t*>(start.data()), start.size()}), start.size());
  ASSERT_EQ(::truncate(path.c_str(), 5000), 0);
  EXPECT_EQ(ReadRest(input), content.substr(1000, 4000));
  EXPECT_TRUE(input.Error().empty()) << input.Error();
}

TEST(InputFileTest, FifoIsReadToItsEnd) {
  TempDir dir;
  const std::string fifo = dir / "live.ts";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  // Held open for writing first, so that opening it for reading does not wait.
  const int writer = ::open(fifo.c_str(), O_RDWR);
  ASSERT_GE(writer, 0);
  const std::string content = Pattern(30000);
  ASSERT_EQ(::write(writer, content.data(), content.size()), static_cast<ssize_t>(content.size()));
  CInputFile input;
  ASSERT_TRUE(input.Open(fifo)) << input.Error();
  ::close(writer);
  EXPECT_EQ(ReadRest(input, 333), content);
  EXPECT_TRUE(input.Error().empty()) << input.Error();
}

TEST(InputFileTest, KnowsItselfUnderEveryName) {
  TempDir dir;
  const std::string path = dir.Write("recording.ts", "bytes");
  const std::string other = dir.Write("other.ts", "bytes");
  std::filesystem::create_symlink(path, dir / "link.ts");
  std::filesystem::create_hard_link(path, dir / "hard.ts");
  CInputFile input;
  ASSERT_TRUE(input.Open(dir / "link.ts"));
  EXPECT_TRUE(input.IsSameFile(path));
  EXPECT_TRUE(input.IsSameFile(dir / "hard.ts"));
  EXPECT_TRUE(input.IsSameFile(dir / "link.ts"));
  EXPECT_FALSE(input.IsSameFile(other));
  EXPECT_FALSE(input.IsSameFile(dir / "missing.ts"));
}

TEST(InputFileTest, UnreadableInputsSayWhy) {
  TempDir dir;
  struct Case {
    std::string path;
    std::string error;
  };
  const Case cases[] = {
      {dir / "missing.ts", "cannot open " + (dir / "missing.ts") + ": No such file or directory"},
      {dir.Path(), "cannot read " + dir.Path() + ": Is a directory"},
  };
  for (const Case& c : cases) {
    CInputFile input;
    EXPECT_FALSE(input.Open(c.path));
    EXPECT_EQ(input.Error(), c.error);
  }
}

}  // namespace
