#include <pugixml.hpp>
#include <sstream>

#include "channels/ChannelExports.h"
#include "channels/ChannelProperties.h"
#include "platform/com/Utf.h"
#include "psi/text/SafeText.h"

std::string XmltvChannelsText(const ChannelList& channels) {
  pugi::xml_document document;
  pugi::xml_node declaration = document.append_child(pugi::node_declaration);
  declaration.append_attribute("version") = "1.0";
  declaration.append_attribute("encoding") = "UTF-8";
  document.append_child(pugi::node_doctype).set_value("tv SYSTEM \"xmltv.dtd\"");
  pugi::xml_node tv = document.append_child("tv");
  tv.append_attribute("generator-info-name") = "dtv";
  for (const ComPtr<IKxChannel>& channel : channels) {
    pugi::xml_node node = tv.append_child("channel");
    node.append_attribute("id") = XmltvIdOf(channel.Get()).c_str();
    node.append_child("display-name").text() =
        SafeUtf8(Utf8ToUtf16(TextOf(channel.Get(), &IKxChannel::get_Title)), TextUse::Line).c_str();
  }
  std::ostringstream text;
  document.save(text, "  ");
  return text.str();
}
