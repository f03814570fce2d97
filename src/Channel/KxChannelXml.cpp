// The channel's XML form: one "channel" element carrying every property as an
// attribute and one "pids" element listing the PID records.
#include <pugixml.hpp>
#include <sstream>

#include "Channel/KxChannel.h"
#include "logging/LogFile.h"
#include "platform/com/Utf.h"

namespace {
constexpr const char* kLogFile = "KxChannel";

void SetInt(pugi::xml_node element, const char* name, LONG value) { element.append_attribute(name).set_value(value); }

void SetText(pugi::xml_node element, const char* name, std::u16string_view value) {
  element.append_attribute(name).set_value(Utf16ToUtf8(value).c_str());
}

void SetFlag(pugi::xml_node element, const char* name, bool value) { SetInt(element, name, value ? 1 : 0); }

LONG GetInt(pugi::xml_node element, const char* name) { return element.attribute(name).as_int(0); }

std::u16string GetText(pugi::xml_node element, const char* name) {
  return Utf8ToUtf16(element.attribute(name).value());
}

// Attributes added in later versions of the format: absent ones take `fallback`.
void GetLater(pugi::xml_node element, const char* name, LONG fallback, LONG& target) {
  const pugi::xml_attribute attribute = element.attribute(name);
  target = attribute ? attribute.as_int(0) : fallback;
}

// pugixml also accepts several root elements; a document has exactly one.
bool IsSingleDocument(const pugi::xml_document& doc) {
  int elements = 0;
  for (const pugi::xml_node node : doc.children()) elements += node.type() == pugi::node_element ? 1 : 0;
  return elements == 1;
}

void SavePid(pugi::xml_node pids, const ChannelPidRecord& record) {
  switch (record.kind) {
    case PidRecordKind::Other: {
      pugi::xml_node pid = pids.append_child("pid");
      SetInt(pid, "pid", record.pid);
      SetInt(pid, "type", record.streamType);
      break;
    }
    case PidRecordKind::Audio: {
      pugi::xml_node pid = pids.append_child("audioPid");
      SetInt(pid, "pid", record.pid);
      SetInt(pid, "type", record.streamType);
      SetText(pid, "language", record.language);
      SetFlag(pid, "ac3", record.ac3);
      break;
    }
    case PidRecordKind::Teletext: {
      pugi::xml_node pid = pids.append_child("teletextPid");
      SetInt(pid, "pid", record.pid);
      SetInt(pid, "type", record.streamType);
      SetText(pid, "language", record.language);
      SetInt(pid, "teletextType", record.teletextType);
      SetInt(pid, "magazineNumber", record.magazineNumber);
      SetInt(pid, "pageNumber", record.pageNumber);
      break;
    }
    case PidRecordKind::Pmt: {
      pugi::xml_node pid = pids.append_child("pmtPid");
      SetInt(pid, "pid", record.pid);
      SetInt(pid, "type", 0);
      break;
    }
    case PidRecordKind::Video: {
      pugi::xml_node pid = pids.append_child("videoPid");
      SetInt(pid, "pid", record.pid);
      SetInt(pid, "type", record.streamType);
      break;
    }
  }
}
}  // namespace

HRESULT CKxChannel::SaveToXml(BSTR* pbstrXml) {
  if (!pbstrXml) return E_POINTER;
  *pbstrXml = nullptr;
  pugi::xml_document doc;
  pugi::xml_node channel = doc.append_child("channel");
  SetInt(channel, "type", m_lType);
  SetText(channel, "title", m_bstrTitle.View());
  SetInt(channel, "programNumber", m_lProgramNumber);
  SetInt(channel, "countryCode", m_lCountryCode);
  SetInt(channel, "inputSource", m_lInputSource);
  SetInt(channel, "inputType", m_lAnalogInputType);
  SetInt(channel, "analogTunerMode", m_lTunerMode);
  SetFlag(channel, "scrambled", m_bScrambled);
  SetFlag(channel, "visible", m_bVisible);
  SetText(channel, "videoDevice", m_bstrVideoDevice.View());
  SetText(channel, "audioDevice", m_bstrAudioDevice.View());
  SetInt(channel, "carrierFrequency", m_lCarrierFrequency);
  SetText(channel, "serviceProviderName", m_bstrServiceProviderName.View());
  SetInt(channel, "bandwidth", m_lBandwidth);
  SetInt(channel, "networkId", m_lNetworkId);
  SetInt(channel, "serviceId", m_lServiceId);
  SetInt(channel, "transportStreamId", m_lTransportStreamId);
  SetText(channel, "networkName", m_bstrNetworkName.View());
  SetInt(channel, "innerFec", m_lInnerFec);
  SetInt(channel, "outerFec", m_lOuterFec);
  SetText(channel, "satellite", m_bstrSatellite.View());
  SetInt(channel, "modulation", m_lModulation);
  SetInt(channel, "symbolRate", m_lSymbolRate);
  SetInt(channel, "signalPolarisation", m_lSignalPolarisation);
  SetInt(channel, "runningState", m_lRunningState);
  SetInt(channel, "pcrPid", m_lPcrPid);
  SetInt(channel, "serviceType", m_lServiceType);
  SetInt(channel, "physicalChannel", m_lPhysicalChannel);
  SetInt(channel, "majorChannel", m_lMajorChannel);
  SetInt(channel, "minorChannel", m_lMinorChannel);
  SetInt(channel, "sourceId", m_lSourceId);
  SetInt(channel, "channelTsId", m_lChannelTsId);
  SetInt(channel, "channelFlags", m_lChannelFlags);
  SetInt(channel, "pilot", m_lPilot);
  SetInt(channel, "rolloff", m_lRolloff);
  SetInt(channel, "lnbPos", m_lLnbPosition);
  SetInt(channel, "highOscillator", m_lHighOscillator);
  SetInt(channel, "lowOscillator", m_lLowOscillator);
  SetInt(channel, "lnbSwitch", m_lLnbSwitch);
  SetInt(channel, "videoStreamType", m_lVideoStreamType);

  pugi::xml_node pids = channel.append_child("pids");
  if (!pids) {
    traceFailure(E_OUTOFMEMORY, "(hr) = (pChannel->appendChild(pPids, NULL))", kLogFile);
    return E_OUTOFMEMORY;
  }
  for (const auto& [pid, record] : m_pids) SavePid(pids, record);

  std::ostringstream text;
  doc.save(text, "", pugi::format_raw | pugi::format_no_declaration, pugi::encoding_utf8);
  return AllocOutString(Utf8ToUtf16(text.str()), pbstrXml);
}

HRESULT CKxChannel::LoadFromXml(BSTR bstrXml) {
  const std::string text = Utf16ToUtf8(bstrXml ? std::u16string_view(bstrXml, SysStringLen(bstrXml)) : u"");
  pugi::xml_document doc;
  const pugi::xml_parse_result parsed =
      doc.load_buffer(text.data(), text.size(), pugi::parse_default, pugi::encoding_utf8);
  const pugi::xml_node channel = doc.document_element();
  if (!parsed || !IsSingleDocument(doc)) {
    traceFailure(E_FAIL, "(hr) = (pDoc->loadXML(bstrXml, &bSuccess))", kLogFile);
    return E_FAIL;
  }

  RETURN_IF_FAILED(AssignBStr(m_bstrTitle, GetText(channel, "title")));
  RETURN_IF_FAILED(AssignBStr(m_bstrVideoDevice, GetText(channel, "videoDevice")));
  RETURN_IF_FAILED(AssignBStr(m_bstrAudioDevice, GetText(channel, "audioDevice")));
  RETURN_IF_FAILED(AssignBStr(m_bstrNetworkName, GetText(channel, "networkName")));
  RETURN_IF_FAILED(AssignBStr(m_bstrSatellite, GetText(channel, "satellite")));
  RETURN_IF_FAILED(AssignBStr(m_bstrServiceProviderName, GetText(channel, "serviceProviderName")));

  m_lType = GetInt(channel, "type");
  m_lInputSource = GetInt(channel, "inputSource");
  m_lAnalogInputType = GetInt(channel, "inputType");
  m_lTunerMode = GetInt(channel, "analogTunerMode");
  m_bScrambled = GetInt(channel, "scrambled") == 1;
  m_bVisible = GetInt(channel, "visible") == 1;
  m_lProgramNumber = GetInt(channel, "programNumber");
  m_lCountryCode = GetInt(channel, "countryCode");
  m_lCarrierFrequency = GetInt(channel, "carrierFrequency");
  m_lBandwidth = GetInt(channel, "bandwidth");
  m_lNetworkId = GetInt(channel, "networkId");
  m_lServiceId = GetInt(channel, "serviceId");
  m_lTransportStreamId = GetInt(channel, "transportStreamId");
  m_lInnerFec = GetInt(channel, "innerFec");
  m_lOuterFec = GetInt(channel, "outerFec");
  m_lModulation = GetInt(channel, "modulation");
  m_lSymbolRate = GetInt(channel, "symbolRate");
  m_lSignalPolarisation = GetInt(channel, "signalPolarisation");
  m_lRunningState = GetInt(channel, "runningState");
  m_lPcrPid = GetInt(channel, "pcrPid");
  m_lServiceType = GetInt(channel, "serviceType");
  m_lPhysicalChannel = GetInt(channel, "physicalChannel");
  m_lMajorChannel = GetInt(channel, "majorChannel");
  m_lMinorChannel = GetInt(channel, "minorChannel");
  m_lSourceId = GetInt(channel, "sourceId");
  m_lChannelTsId = GetInt(channel, "channelTsId");
  m_lChannelFlags = GetInt(channel, "channelFlags");

  GetLater(channel, "lnbPos", 1, m_lLnbPosition);
  GetLater(channel, "pilot", -1, m_lPilot);
  GetLater(channel, "rolloff", -1, m_lRolloff);
  GetLater(channel, "highOscillator", -1, m_lHighOscillator);
  GetLater(channel, "lowOscillator", -1, m_lLowOscillator);
  GetLater(channel, "lnbSwitch", -1, m_lLnbSwitch);
  GetLater(channel, "videoStreamType", m_lVideoStreamType, m_lVideoStreamType);

  // Anything but a single "pids" element is ambiguous: no PIDs are taken then.
  const pugi::xpath_node_set pidLists = doc.select_nodes("//pids");
  if (pidLists.size() != 1) return S_OK;
  for (const pugi::xml_node pid : pidLists.first().node().children()) {
    const std::string_view name = pid.name();
    if (name == "pid") {
      AddOtherPid(GetInt(pid, "pid"), GetInt(pid, "type"));
    } else if (name == "audioPid") {
      AddAudioPid(GetInt(pid, "pid"), GetInt(pid, "type"), GetText(pid, "language"), GetInt(pid, "ac3") == 1);
    } else if (name == "teletextPid") {
      AddTeletextPid(GetInt(pid, "pid"), GetInt(pid, "type"), GetText(pid, "language"), GetInt(pid, "teletextType"),
                     GetInt(pid, "magazineNumber"), GetInt(pid, "pageNumber"));
    } else if (name == "pmtPid") {
      AddPmtPid(GetInt(pid, "pid"));
    } else if (name == "videoPid") {
      AddVideoPid(GetInt(pid, "pid"), GetInt(pid, "type"));
    }
  }
  return S_OK;
}
