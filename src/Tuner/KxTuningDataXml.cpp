// Loading frequency-list XML into tuning data.
#include <cstring>
#include <new>
#include <pugixml.hpp>

#include "Tuner/KxTuningData.h"
#include "Tuner/TracedResult.h"
#include "platform/com/Utf.h"

namespace {
constexpr const char* kLogFile = "KxTuningData";

// Every element named `name` below `root`, in document order (without
// recursion: the nesting depth of the text is not ours to choose).
std::vector<pugi::xml_node> ElementsByTagName(pugi::xml_node root, const char* name) {
  std::vector<pugi::xml_node> found;
  pugi::xml_node node = root.first_child();
  while (node) {
    if (node.type() == pugi::node_element && std::strcmp(node.name(), name) == 0) found.push_back(node);
    if (node.first_child()) {
      node = node.first_child();
      continue;
    }
    while (node != root && !node.next_sibling()) node = node.parent();
    node = node == root ? pugi::xml_node() : node.next_sibling();
  }
  return found;
}

// The type a list's root "name" denotes: anything but cable or satellite is terrestrial.
const char16_t* TypeOfNetwork(std::u16string_view name) {
  if (name == u"DVB-C") return KxTuningDataType_Dvbc;
  if (name == u"DVB-S") return KxTuningDataType_Dvbs;
  return KxTuningDataType_Dvbt;
}

// A missing attribute fails like a value that does not convert.
HRESULT ReadString(pugi::xml_node node, const char* name, std::u16string& value) {
  const pugi::xml_attribute attribute = node.attribute(name);
  if (!attribute) return DISP_E_TYPEMISMATCH;
  value = Utf8ToUtf16(attribute.value());
  return S_OK;
}

HRESULT ReadNumber(pugi::xml_node node, const char* name, int32_t& value) {
  std::u16string text;
  HRESULT hr = ReadString(node, name, text);
  if (FAILED(hr)) return hr;
  const Variant var(text);
  Variant converted;
  hr = VariantChangeType(&converted, &var, 0, VT_I4);
  if (SUCCEEDED(hr)) value = converted.lVal;
  return hr;
}

// Traces a failed attribute read (when it was a call) and says which value it was.
HRESULT Failed(HRESULT hr, pugi::xml_node node, const char* name, const char* expression = nullptr) {
  if (expression) traceFailure(hr, expression, kLogFile);
  log(1, "Tuning data: attribute \"%s\" of element <%s> (offset %td) is missing or invalid", name, node.name(),
      node.offset_debug());
  return hr;
}

#define READ_NUMBER(node, name, field)                                                               \
  if (FAILED(hr = ReadNumber(node, name, param.field)))                                              \
  return Failed(hr, node, name, "(hr) = (CComUtils::VariantCopyTo(var, &param." #field "))")

#define READ_STRING(node, name, value)                                                               \
  if (FAILED(hr = ReadString(node, name, value)))                                                    \
  return Failed(hr, node, name, "(hr) = (" #node "->getAttribute(CComBSTR(L\"" name "\"), &var))")
}  // namespace

HRESULT CKxTuningData::LoadTuningParams(BSTR bstrXml) {
  pugi::xml_document doc;
  const pugi::xml_parse_result parsed =
      doc.load_buffer(bstrXml, SysStringLen(bstrXml) * sizeof(OLECHAR), pugi::parse_default, pugi::encoding_utf16);
  if (!parsed) {
    log(1, "Tuning data: the frequency list is not well-formed XML: %s at offset %td", parsed.description(),
        parsed.offset);
    return E_FAIL;
  }
  const pugi::xml_node root = doc.document_element();
  if (std::strcmp(root.name(), "NetworkType") != 0) {
    log(1, "Tuning data: the root element is <%s>, not <NetworkType>", root.name());
    return E_FAIL;
  }
  const std::u16string network = Utf8ToUtf16(root.attribute("name").value());
  const Kind kind = TypeKind();
  {
    const std::lock_guard lock(m_lock);
    if (m_type != TypeOfNetwork(network)) {
      log(1, "Tuning data: a list of network type \"%s\" does not fit tuning data of type \"%s\"",
          Utf16ToUtf8(network).c_str(), Utf16ToUtf8(m_type).c_str());
      return E_FAIL;
    }
  }
  HRESULT hr = S_OK;
  for (const pugi::xml_node pNetwork : ElementsByTagName(root, kind == Kind::Dvbs ? "Satellite" : "Network")) {
    // A group needs its name (and a satellite its position): absent or empty fails alike.
    std::u16string key = Utf8ToUtf16(pNetwork.attribute("name").value());
    if (key.empty()) return Failed(E_FAIL, pNetwork, "name");
    if (kind == Kind::Dvbs) {
      std::u16string position = Utf8ToUtf16(pNetwork.attribute("position").value());
      if (position.empty()) return Failed(E_FAIL, pNetwork, "position");
      if (FAILED(hr = AddSatellite(key, position))) return hr;
      key = std::move(position);
    }
    for (const pugi::xml_node pParam : ElementsByTagName(pNetwork, "param")) {
      KxTuningParam param;
      READ_NUMBER(pParam, "frequency", nFrequency);
      if (kind == Kind::Dvbt) {
        READ_NUMBER(pParam, "bandwidth", nBandwidth);
      } else if (kind == Kind::Dvbs) {
        std::u16string text;
        READ_STRING(pParam, "polarisation", text);
        param.nPolarisation = PolarisationFromText(text);
        READ_NUMBER(pParam, "symbolrate", nSymbolRate);
        if (pParam.attribute("modulation")) READ_NUMBER(pParam, "modulation", nModulation);
        if (pParam.attribute("fec")) {
          READ_STRING(pParam, "fec", text);
          param.nInnerFec = InnerFecFromText(text);
        }
        if (pParam.attribute("pilot")) READ_NUMBER(pParam, "pilot", nPilot);
        if (pParam.attribute("rolloff")) READ_NUMBER(pParam, "rolloff", nRolloff);
      }
      if (FAILED(hr = Append(key, param))) return hr;
    }
  }
  return S_OK;
}
