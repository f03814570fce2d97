#include "Devices/BdaTempStore.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <vector>

#include "logging/LogFile.h"
#include "platform/com/Utf.h"
#include "platform/os/UserDirectories.h"
#include "platform/sync/Clock.h"

namespace {
constexpr const char* kStoreName = "_1C71A281EE30451B8C6749FB9DF1A589";
constexpr size_t kMaxTempPath = 260;
constexpr uint32_t kRetryMs = 10;
constexpr uint64_t kMaxWaitMs = 3000;

// Opens and locks the file; -1 when either fails. The name is predictable:
// a link planted there is not followed.
int OpenLocked(const std::string& path, int flags, int lockMode) {
  const int fd = ::open(path.c_str(), flags | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (fd < 0) return -1;
  if (::flock(fd, lockMode | LOCK_NB) != 0) {
    ::close(fd);
    return -1;
  }
  return fd;
}

bool WriteAll(int fd, const std::string& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::pwrite(fd, bytes.data() + done, bytes.size() - done, static_cast<off_t>(done));
    if (n <= 0) return false;
    done += static_cast<size_t>(n);
  }
  return true;
}

// The parser takes a fragment with several top-level elements; a document
// has one at most.
size_t ElementCount(const pugi::xml_document& doc) {
  size_t count = 0;
  for (const pugi::xml_node& node : doc.children())
    if (node.type() == pugi::node_element) ++count;
  return count;
}

struct StringWriter : pugi::xml_writer {
  std::string bytes;
  void write(const void* data, size_t size) override { bytes.append(static_cast<const char*>(data), size); }
};
}  // namespace

std::string BdaTempStore::Path() {
  // Per user: a file shared with other users would hold them up or be theirs to change.
  std::string dir = UserCacheDirectory();
  if (dir.empty()) {
    const char* tmp = std::getenv("TMPDIR");
    dir = tmp && *tmp ? tmp : "/tmp";
  }
  if (dir.back() != '/') dir += '/';
  if (dir.size() > kMaxTempPath) dir.resize(kMaxTempPath);
  return dir + kStoreName;
}

HRESULT BdaTempStore::Open() {
  Close();
  const std::string path = Path();
  m_fd = OpenLocked(path, O_RDWR, LOCK_EX);
  m_locked = m_fd >= 0;
  const uint64_t start = CurrentClock().NowMs();
  while (m_fd < 0) {
    m_fd = OpenLocked(path, O_RDONLY, LOCK_SH);
    if (m_fd >= 0) break;
    if (errno == ELOOP) return E_ACCESSDENIED;  // a link in its place: waiting will not help
    if (CurrentClock().NowMs() - start >= kMaxWaitMs) return E_ACCESSDENIED;
    SleepMs(kRetryMs);
  }
  ReadDocument();
  return S_OK;
}

void BdaTempStore::ReadDocument() {
  std::string bytes;
  char buffer[4096];
  for (off_t offset = 0;;) {
    const ssize_t n = ::pread(m_fd, buffer, sizeof buffer, offset);
    if (n <= 0) break;
    bytes.append(buffer, static_cast<size_t>(n));
    offset += n;
  }
  // UTF-16LE up to the first zero character.
  std::u16string text;
  for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const char16_t c = static_cast<char16_t>(static_cast<uint8_t>(bytes[i]) | static_cast<uint8_t>(bytes[i + 1]) << 8);
    if (c == 0) break;
    text.push_back(c);
  }
  m_doc.reset();
  const std::string utf8 = Utf16ToUtf8(text);
  if (text.empty() || !m_doc.load_buffer(utf8.data(), utf8.size(), pugi::parse_default, pugi::encoding_utf8) ||
      ElementCount(m_doc) > 1) {
    m_doc.reset();
  }
  if (!m_doc.document_element()) m_doc.append_child("devices");
  m_entries.clear();
  m_listed.clear();
  for (pugi::xml_node device : m_doc.document_element().children("device"))
    m_entries.emplace(device.attribute("moniker").as_string(), device);  // the first of a moniker counts
  m_hasDocument = true;
}

void BdaTempStore::KeepDevice(std::u16string_view moniker) { m_listed.insert(Utf16ToUtf8(moniker)); }

void BdaTempStore::DropUnlisted() {
  pugi::xml_node root = m_doc.document_element();
  for (pugi::xml_node device = root.first_child(); device;) {
    const pugi::xml_node next = device.next_sibling();
    const std::string moniker = device.attribute("moniker").as_string();
    const auto entry = m_entries.find(moniker);
    const bool current = entry != m_entries.end() && entry->second == device;
    if (!current || !m_listed.count(moniker)) root.remove_child(device);
    device = next;
  }
}

LONG BdaTempStore::GetDeviceType(std::u16string_view moniker, const std::string& signature) {
  if (!m_hasDocument) return 0;
  const std::string name = Utf16ToUtf8(moniker);
  m_listed.insert(name);
  const auto entry = m_entries.find(name);
  if (signature.empty() || entry == m_entries.end() || signature != entry->second.attribute("signature").as_string()) return 0;
  return entry->second.attribute("type").as_int(0);
}

HRESULT BdaTempStore::SetDeviceType(std::u16string_view moniker, const std::string& signature, LONG type) {
  if (!m_hasDocument) return E_FAIL;
  const std::string name = Utf16ToUtf8(moniker);
  m_listed.insert(name);
  if (signature.empty()) return S_FALSE;  // a device that cannot be told apart is not cached
  pugi::xml_node& device = m_entries[name];
  if (!device) {
    device = m_doc.document_element().append_child("device");
    device.append_attribute("moniker").set_value(name.c_str());
  }
  for (const char* attribute : {"type", "signature"})
    if (!device.attribute(attribute)) device.append_attribute(attribute);
  device.attribute("type").set_value(type);
  device.attribute("signature").set_value(signature.c_str());
  return S_OK;
}

void BdaTempStore::Close() {
  if (m_fd < 0) return;
  if (m_hasDocument && m_locked) {
    DropUnlisted();
    StringWriter writer;
    m_doc.save(writer, "", pugi::format_raw | pugi::format_no_declaration, pugi::encoding_utf16_le);
    // The file is cut to the new text: an older, longer or unparsable text
    // must not leave its tail behind, or the next reader fails on it for good.
    if (!writer.bytes.empty() && WriteAll(m_fd, writer.bytes) &&
        ::ftruncate(m_fd, static_cast<off_t>(writer.bytes.size())) != 0) {
      log(1, "Bda temp store could not be truncated");
    }
  }
  m_doc.reset();
  m_entries.clear();
  m_listed.clear();
  m_hasDocument = false;
  ::close(m_fd);
  m_fd = -1;
  m_locked = false;
}
