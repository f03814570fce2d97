#include "channels/ChannelFile.h"

#include <fmt/format.h>

#include <filesystem>
#include <pugixml.hpp>
#include <sstream>

#include "analyze/OutputFile.h"
#include "platform/com/Utf.h"
#include "platform/os/RegularFile.h"
#include "platform/os/UserDirectories.h"

namespace {
// Thousands of channels take a few MB; anything far beyond is not a list.
constexpr size_t kMaxChannelFileBytes = 64u << 20;

std::string ElementText(const pugi::xml_node& node) {
  std::ostringstream text;
  node.print(text, "", pugi::format_raw, pugi::encoding_utf8);
  return text.str();
}

ComPtr<IKxChannel> ChannelFromXml(const std::string& xml) {
  ComPtr<IKxChannel> channel = NewChannel();
  const auto serialisation = channel ? QueryAs<IKxXmlSerialisation>(channel.Get()) : ComPtr<IKxXmlSerialisation>();
  const BStr text(Utf8ToUtf16(xml));
  if (!serialisation || FAILED(serialisation->LoadFromXml(text.Get()))) return {};
  return channel;
}

bool AppendChannelXml(IKxChannel* channel, pugi::xml_node& root) {
  const auto serialisation = QueryAs<IKxXmlSerialisation>(channel);
  BStr xml;
  if (!serialisation || FAILED(serialisation->SaveToXml(xml.Put()))) return false;
  pugi::xml_document document;
  const std::string text = xml.Utf8();
  if (!document.load_buffer(text.data(), text.size())) return false;
  root.append_copy(document.document_element());
  return true;
}
}  // namespace

std::string DefaultChannelFile() {
  const std::string data = UserDataDirectory();
  return data.empty() ? "channels.xml" : data + "/dtv/channels.xml";
}

bool LoadChannelFile(const std::string& path, ChannelList& channels, std::string& error) {
  std::string reason;
  const std::optional<std::string> text = ReadRegularFile(path, kMaxChannelFileBytes, reason);
  if (!text) {
    error = fmt::format("cannot read the channel list {}: {}", path, reason);
    return false;
  }
  pugi::xml_document document;
  const pugi::xml_parse_result parsed = document.load_buffer(text->data(), text->size());
  if (!parsed) {
    error = fmt::format("{}: not a channel list: {} at byte {}", path, parsed.description(), parsed.offset);
    return false;
  }
  const pugi::xml_node root = document.document_element();
  if (std::string_view(root.name()) != "channels") {
    error = fmt::format("{}: not a channel list: the root element is \"{}\", not \"channels\"", path, root.name());
    return false;
  }
  ChannelList loaded;
  for (const pugi::xml_node& node : root.children("channel")) {
    ComPtr<IKxChannel> channel = ChannelFromXml(ElementText(node));
    if (!channel) {
      error = fmt::format("{}: channel {} cannot be read", path, loaded.size() + 1);
      return false;
    }
    loaded.push_back(std::move(channel));
  }
  channels = std::move(loaded);
  return true;
}

bool SaveChannelFile(const std::string& path, const ChannelList& channels, std::string& error) {
  pugi::xml_document document;
  pugi::xml_node root = document.append_child("channels");
  for (size_t i = 0; i < channels.size(); ++i)
    if (!AppendChannelXml(channels[i].Get(), root)) {
      error = fmt::format("channel {} cannot be written as XML", i + 1);
      return false;
    }
  const std::filesystem::path directory = std::filesystem::path(path).parent_path();
  std::error_code ec;
  if (!directory.empty() && !std::filesystem::exists(directory, ec) &&
      !std::filesystem::create_directories(directory, ec)) {
    error = fmt::format("cannot create {}: {}", directory.string(), ec.message());
    return false;
  }
  COutputFile file;
  if (!file.Open(path, error)) return false;
  document.save(file.Stream(), "  ", pugi::format_default, pugi::encoding_utf8);
  return file.Commit(error);
}
