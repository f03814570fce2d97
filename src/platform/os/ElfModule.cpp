#include "platform/os/ElfModule.h"

#include <elf.h>
#include <link.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "platform/os/RegularFile.h"

namespace {

#if defined(__x86_64__)
constexpr uint16_t kMachine = EM_X86_64;
#elif defined(__aarch64__)
constexpr uint16_t kMachine = EM_AARCH64;
#elif defined(__i386__)
constexpr uint16_t kMachine = EM_386;
#elif defined(__arm__)
constexpr uint16_t kMachine = EM_ARM;
#else
#error "unknown machine: add its ELF machine number"
#endif

using Ehdr = ElfW(Ehdr);
using Phdr = ElfW(Phdr);
constexpr unsigned char kClass = sizeof(void*) == 8 ? ELFCLASS64 : ELFCLASS32;
constexpr unsigned char kData = __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__ ? ELFDATA2LSB : ELFDATA2MSB;

bool ReadAt(int fd, void* out, size_t size, uint64_t offset) {
  size_t done = 0;
  while (done < size) {
    const ssize_t n = ::pread(fd, static_cast<char*>(out) + done, size - done, static_cast<off_t>(offset + done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<size_t>(n);
  }
  return true;
}

bool Inside(uint64_t offset, uint64_t length, uint64_t fileSize) {
  return offset <= fileSize && length <= fileSize - offset;
}

}  // namespace

bool IsLoadableModule(const std::string& path, std::string& why, bool* unreadable) {
  const int fd = OpenRegularFile(path);
  if (unreadable) *unreadable = fd < 0 && errno != EINVAL;
  if (fd < 0) {
    why = errno == EINVAL ? "not a regular file" : std::strerror(errno);
    return false;
  }
  struct stat info {};
  ::fstat(fd, &info);
  const uint64_t size = static_cast<uint64_t>(info.st_size);
  Ehdr header{};
  why.clear();
  if (!ReadAt(fd, &header, sizeof header, 0) || std::memcmp(header.e_ident, ELFMAG, SELFMAG) != 0)
    why = "not an ELF file";
  else if (header.e_ident[EI_CLASS] != kClass || header.e_ident[EI_DATA] != kData || header.e_machine != kMachine)
    why = "built for another machine";
  else if (header.e_type != ET_DYN)
    why = "not a shared object";
  else if (header.e_phentsize != sizeof(Phdr) ||
           !Inside(header.e_phoff, uint64_t{header.e_phnum} * sizeof(Phdr), size) ||
           !Inside(header.e_shoff, uint64_t{header.e_shnum} * header.e_shentsize, size))
    why = "truncated (headers beyond the end of the file)";
  if (why.empty()) {
    std::vector<Phdr> segments(header.e_phnum);
    if (!ReadAt(fd, segments.data(), segments.size() * sizeof(Phdr), header.e_phoff)) why = "cannot be read";
    for (const Phdr& segment : segments)
      if (why.empty() && segment.p_type == PT_LOAD && !Inside(segment.p_offset, segment.p_filesz, size))
        why = "truncated (a segment beyond the end of the file)";
  }
  ::close(fd);
  return why.empty();
}
