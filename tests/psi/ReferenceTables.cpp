#include "psi/ReferenceTables.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>

#include "psi/descriptors/atsc/Ac3AudioAtscDescriptor.h"
#include "psi/descriptors/atsc/CaptionServiceDescriptor.h"
#include "psi/descriptors/atsc/ComponentNameDescriptor.h"
#include "psi/descriptors/atsc/ServiceLocationDescriptor.h"
#include "psi/descriptors/dvb/ComponentDescriptor.h"
#include "psi/descriptors/dvb/ContentDescriptor.h"
#include "psi/descriptors/dvb/ExtendedEventDescriptor.h"
#include "psi/descriptors/dvb/LinkageDescriptor.h"
#include "psi/descriptors/dvb/ParentalRating.h"
#include "psi/descriptors/dvb/ServiceDescriptor.h"
#include "psi/descriptors/dvb/ServiceListDescriptor.h"
#include "psi/descriptors/dvb/ShortEventDescriptor.h"
#include "psi/descriptors/dvb/SubtitlingDescriptor.h"
#include "psi/descriptors/dvb/TeletextDescriptor.h"
#include "psi/descriptors/dvb/TerrestrialDeliverySystemDescriptor.h"
#include "psi/descriptors/mpeg/ConditionalAccessDescriptor.h"
#include "psi/descriptors/mpeg/Iso639LanguageDescriptor.h"
#include "psi/text/Charset.h"
#include "psi/text/DvbText.h"
#include "psi/text/Iso6937.h"
#include "psi/text/MultipleString.h"

namespace psitest {

std::vector<ReferenceTable> ReadReferenceTables(const std::filesystem::path& path) {
  std::vector<ReferenceTable> tables;
  std::ifstream in(path);
  std::string line;
  bool inTable = false;
  while (std::getline(in, line)) {
    std::smatch m;
    if (Match(line, R"re(^\* (.+), TID 0x([0-9A-F]{2}) \(\d+\), PID 0x([0-9A-F]{4}) \(\d+\))re", m)) {
      tables.push_back({m[1].str(), uint8_t(Hex(m[2])), uint16_t(Hex(m[3])), {}});
      inTable = true;
    } else if (line.starts_with("* ")) {
      inTable = false;  // "* Invalid section, ..."
    } else if (inTable) {
      tables.back().lines.push_back(line);
    }
  }
  return tables;
}

bool Match(const std::string& line, const char* pattern, std::smatch& captures) {
  // Patterns are literals; compile each once.
  static std::map<const char*, std::regex> compiled;
  auto it = compiled.find(pattern);
  if (it == compiled.end()) it = compiled.emplace(pattern, std::regex(pattern)).first;
  return std::regex_search(line, captures, it->second);
}

unsigned Dec(const std::ssub_match& capture) { return unsigned(std::stoul(capture.str(), nullptr, 10)); }
unsigned Hex(const std::ssub_match& capture) { return unsigned(std::stoul(capture.str(), nullptr, 16)); }

std::u16string Utf8(const std::string& text) {
  return DecodeCharset("UTF-8", reinterpret_cast<const uint8_t*>(text.data()), text.size()).value_or(u"?");
}

namespace {

// Text without a selector that uses upper-half characters but no ISO 6937
// accent is decoded as ISO 8859-15 here by design, while the reference
// decoder keeps ISO 6937 ("ed \xE8" is "ed è", not "ed Ł"); such texts are
// not compared.
template <size_t N>
void ExpectDvbText(const RawText<N>& text, const std::string& expected, const std::string& line) {
  if (text.length > 0 && text.bytes[0] >= 0x20 && !Iso6937ToString(text.bytes.data())) return;
  EXPECT_EQ(DvbTextToString(text.bytes.data(), text.length), Utf8(expected)) << line;
}

std::string Code(const LanguageCode& code) { return std::string(code.begin(), code.end()); }

bool Yes(const std::ssub_match& capture) { return capture.str() == "yes" || capture.str() == "true"; }

}  // namespace

void CDescriptorCursor::Enter(const CDescriptors& loop) {
  Leave();
  m_pLoop = &loop;
}

void CDescriptorCursor::Leave() {
  if (m_pLoop) { EXPECT_EQ(m_nSeen, m_pLoop->Count()) << "descriptors of the loop not in the reference"; }
  m_pLoop = nullptr;
  m_pCurrent.reset();
  m_nSeen = 0;
}

void CDescriptorCursor::Check(const std::string& line) {
  std::smatch m;
  if (Match(line, R"re(^\s*- Descriptor (\d+): .*\(0x([0-9A-F]{2}), \d+\), (\d+) bytes$)re", m)) {
    m_pCurrent.reset();
    m_nEntry = 0;
    if (!m_pLoop) {
      ADD_FAILURE() << "descriptor outside a loop: " << line;
      return;
    }
    EXPECT_EQ(Dec(m[1]), m_nSeen) << line;
    m_pCurrent = m_pLoop->Get(m_nSeen++);
    if (!m_pCurrent) {
      ADD_FAILURE() << "missing descriptor: " << line;
      return;
    }
    EXPECT_EQ(m_pCurrent->tag, Hex(m[2])) << line;
    EXPECT_EQ(m_pCurrent->length, Dec(m[3])) << line;
    ++m_nChecked;
    return;
  }
  if (m_pCurrent) CheckDetail(line);
}

void CDescriptorCursor::CheckDetail(const std::string& line) {
  const CDescriptor* d = m_pCurrent.get();
  std::smatch m;
  if (auto p = dynamic_cast<const CIso639LanguageDescriptor*>(d)) {
    if (Match(line, R"re(Language: (\w{3}), Type: 0x([0-9A-F]{2}))re", m)) {
      const auto& entry = p->entries.at(m_nEntry++);
      EXPECT_EQ(Code(entry.language_code), m[1].str());
      EXPECT_EQ(entry.audio_type, Hex(m[2]));
    }
  } else if (auto p = dynamic_cast<const CSubtitlingDescriptor*>(d)) {
    if (Match(line, R"re(Language: (\w{3}), Type: 0x([0-9A-F]{2}))re", m)) {
      EXPECT_EQ(Code(p->entries.at(m_nEntry).language_code), m[1].str());
      EXPECT_EQ(p->entries.at(m_nEntry).subtitling_type, Hex(m[2]));
    } else if (Match(line, R"re(Composition page: 0x\w+ \((\d+)\), Ancillary page: 0x\w+ \((\d+)\))re", m)) {
      const auto& entry = p->entries.at(m_nEntry++);
      EXPECT_EQ(entry.composition_page_id, Dec(m[1]));
      EXPECT_EQ(entry.ancillary_page_id, Dec(m[2]));
    }
  } else if (auto p = dynamic_cast<const CTeletextDescriptor*>(d)) {
    if (Match(line, R"re(Language: (\w{3}), Type: 0x([0-9A-F]{2}))re", m)) {
      EXPECT_EQ(Code(p->entries.at(m_nEntry).language_code), m[1].str());
      EXPECT_EQ(p->entries.at(m_nEntry).teletext_type, Hex(m[2]));
    } else if (Match(line, R"re(Magazine: (\d+), page: (\d+))re", m)) {
      const auto& entry = p->entries.at(m_nEntry++);
      EXPECT_EQ(entry.magazine_number, Dec(m[1]));
      EXPECT_EQ(entry.page_number, Dec(m[2]));
    }
  } else if (auto p = dynamic_cast<const CConditionalAccessDescriptor*>(d)) {
    if (Match(line, R"re(CA System Id: 0x([0-9A-F]{4}).*, E[CM]M PID: 0x\w+ \((\d+)\))re", m)) {
      EXPECT_EQ(p->ca_system_id, Hex(m[1]));
      EXPECT_EQ(p->ca_pid, Dec(m[2]));
    }
  } else if (auto p = dynamic_cast<const CServiceDescriptor*>(d)) {
    if (Match(line, R"re(Service type: 0x([0-9A-F]{2}))re", m)) { EXPECT_EQ(p->service_type, Hex(m[1])); }
    if (Match(line, R"re(^\s*Service: "(.*)", Provider: "(.*)"$)re", m)) {
      ExpectDvbText(p->service_name, m[1].str(), line);
      ExpectDvbText(p->service_provider_name, m[2].str(), line);
    }
  } else if (auto p = dynamic_cast<const CShortEventDescriptor*>(d)) {
    if (Match(line, R"re(^\s*Language: (\w{3})$)re", m)) { EXPECT_EQ(Code(p->language_code), m[1].str()); }
    if (Match(line, R"re(^\s*Event name: "(.*)"$)re", m)) ExpectDvbText(p->event_name, m[1].str(), line);
    if (Match(line, R"re(^\s*Description: "(.*)"$)re", m)) ExpectDvbText(p->text, m[1].str(), line);
  } else if (auto p = dynamic_cast<const CExtendedEventDescriptor*>(d)) {
    if (Match(line, R"re(Descriptor number: (\d+), last: (\d+))re", m)) {
      EXPECT_EQ(p->descriptor_number, Dec(m[1]));
      EXPECT_EQ(p->last_descriptor_number, Dec(m[2]));
    }
    if (Match(line, R"re(^\s*Text: "(.*)"$)re", m)) ExpectDvbText(p->text, m[1].str(), line);
  } else if (auto p = dynamic_cast<const CContentDescriptor*>(d)) {
    if (Match(line, R"re(Content: 0x([0-9A-F]{2}) .* / User: 0x([0-9A-F]{2}))re", m)) {
      const auto& entry = p->entries.at(m_nEntry++);
      EXPECT_EQ(entry.content_nibble_level_1 << 4 | entry.content_nibble_level_2, int(Hex(m[1])));
      EXPECT_EQ(entry.user_byte, Hex(m[2]));
    }
  } else if (auto p = dynamic_cast<const CParentalRating*>(d)) {
    if (Match(line, R"re(Country code: (\w{3}), rating: 0x([0-9A-F]{2}))re", m)) {
      const auto& entry = p->entries.at(m_nEntry++);
      EXPECT_EQ(Code(entry.country_code), m[1].str());
      EXPECT_EQ(entry.rating, Hex(m[2]));
    }
  } else if (auto p = dynamic_cast<const CComponentDescriptor*>(d)) {
    if (Match(line, R"re(Content/type: 0x([0-9A-F]{4}))re", m)) {
      EXPECT_EQ(p->stream_content, (Hex(m[1]) >> 8) & 0x0F);
      EXPECT_EQ(p->component_type, Hex(m[1]) & 0xFF);
    }
    if (Match(line, R"re(Component tag: 0x([0-9A-F]{2}))re", m)) { EXPECT_EQ(p->component_tag, Hex(m[1])); }
    if (Match(line, R"re(^\s*Description: "(.*)"$)re", m)) ExpectDvbText(p->text, m[1].str(), line);
  } else if (auto p = dynamic_cast<const CComponentNameDescriptor*>(d)) {
    if (Match(line, R"re(Language: "(\w*)", text: "(.*)")re", m)) {
      const auto strings = MssParse(p->name.bytes.data(), p->name.length);
      const MultipleString& string = strings.at(m_nEntry++);
      EXPECT_EQ(std::string(string.language_code.begin(), string.language_code.end()), m[1].str());
      ASSERT_FALSE(string.segments.empty());
      EXPECT_EQ(string.segments[0], Utf8(m[2].str()));
    }
  } else if (auto p = dynamic_cast<const CNameDescriptor*>(d)) {
    if (Match(line, R"re(^\s*Name: "(.*)"$)re", m)) ExpectDvbText(p->name, m[1].str(), line);
  } else if (auto p = dynamic_cast<const CTerrestrialDeliverySystemDescriptor*>(d)) {
    if (Match(line, R"re(Centre frequency: ([\d,]+) Hz, Bandwidth: (\d+) MHz)re", m)) {
      std::string hertz = m[1].str();
      std::erase(hertz, ',');
      EXPECT_EQ(uint64_t(p->centre_frequency) * 10, std::stoull(hertz));
      EXPECT_EQ(8u - p->bandwidth, Dec(m[2]));
    }
  } else if (auto p = dynamic_cast<const CServiceListDescriptor*>(d)) {
    if (Match(line, R"re(Service id: 0x\w+ \((\d+)\), Type: 0x([0-9A-F]{2}))re", m)) {
      const auto& entry = p->entries.at(m_nEntry++);
      EXPECT_EQ(entry.service_id, Dec(m[1]));
      EXPECT_EQ(entry.service_type, Hex(m[2]));
    }
  } else if (auto p = dynamic_cast<const CLinkageDescriptor*>(d)) {
    if (Match(line, R"re(Transport stream id: 0x\w+ \((\d+)\))re", m)) { EXPECT_EQ(p->transport_stream_id, Dec(m[1])); }
    if (Match(line, R"re(Original network Id: 0x\w+ \((\d+)\))re", m)) { EXPECT_EQ(p->original_network_id, Dec(m[1])); }
    if (Match(line, R"re(Service id: 0x\w+ \((\d+)\))re", m)) { EXPECT_EQ(p->service_id, Dec(m[1])); }
  } else if (auto p = dynamic_cast<const CServiceLocationDescriptor*>(d)) {
    if (Match(line, R"re(PCR PID: 0x\w+ \((\d+)\), number of elements: (\d+))re", m)) {
      EXPECT_EQ(p->pcr_pid, Dec(m[1]));
      EXPECT_EQ(p->elements.size(), Dec(m[2]));
    }
    if (Match(line, R"re(- PID: 0x\w+ \((\d+)\), language: "(\w*)", type: .*\(0x([0-9A-F]{2})\)$)re", m)) {
      const auto& element = p->elements.at(m_nEntry++);
      EXPECT_EQ(element.elementary_pid, Dec(m[1]));
      const std::string language = Code(element.language_code);
      EXPECT_EQ(language.c_str(), m[2].str());  // an empty code is three NULs
      EXPECT_EQ(element.stream_type, Hex(m[3]));
    }
  } else if (auto p = dynamic_cast<const CAc3AudioAtscDescriptor*>(d)) {
    if (Match(line, R"re(Sample rate: .*\(0x([0-9A-F])\))re", m)) { EXPECT_EQ(p->sample_rate_code, Hex(m[1])); }
    if (Match(line, R"re(Bit rate: .*\(0x([0-9A-F]{2})\))re", m)) { EXPECT_EQ(p->bit_rate_code, Hex(m[1])); }
    if (Match(line, R"re(Num\. channels: .*\(0x([0-9A-F])\))re", m)) { EXPECT_EQ(p->num_channels, Hex(m[1])); }
    if (Match(line, R"re(^\s*Text: "(.*)"$)re", m)) { EXPECT_EQ(std::string(p->text.View().begin(), p->text.View().end()), m[1].str()); }
  } else if (auto p = dynamic_cast<const CCaptionServiceDescriptor*>(d)) {
    if (Match(line, R"re(Number of services: (\d+))re", m)) { EXPECT_EQ(p->services.size(), Dec(m[1])); }
    if (Match(line, R"re(- Language: "(\w*)", digital: (true|false), (?:line 21: (true|false)|service: 0x\w+ \((\d+)\)), easy reader: (true|false), wide: (true|false))re", m)) {
      const CaptionService& service = p->services.at(m_nEntry++);
      EXPECT_EQ(Code(service.language_code), m[1].str());
      EXPECT_EQ(service.digital_cc, Yes(m[2]));
      if (m[3].matched) { EXPECT_EQ(service.line21_field, Yes(m[3]) ? 1 : 0); }
      if (m[4].matched) { EXPECT_EQ(service.caption_service_number, Dec(m[4])); }
      EXPECT_EQ(service.easy_reader, Yes(m[5]));
      EXPECT_EQ(service.wide_aspect_ratio, Yes(m[6]));
    }
  }
}

}  // namespace psitest
