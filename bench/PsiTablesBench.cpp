// Table and descriptor decoding on PSI-dense streams: our splitter feeding
// the tables the system uses, next to libdvbpsi decoding the same tables
// (PAT, CAT, PMT, SDT, NIT, EIT) and the same descriptors from the same
// packets, and our tables alone fed the assembled sections.
#include <benchmark/benchmark.h>
#include <dvbpsi/dvbpsi.h>
#include <dvbpsi/psi.h>
// libdvbpsi's table headers need descriptor.h first.
#include <dvbpsi/descriptor.h>
#include <dvbpsi/cat.h>
#include <dvbpsi/demux.h>
#include <dvbpsi/dr.h>
#include <dvbpsi/eit.h>
#include <dvbpsi/nit.h>
#include <dvbpsi/pat.h>
#include <dvbpsi/pmt.h>
#include <dvbpsi/sdt.h>

#include <array>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "BenchData.h"
#include "psi/dvb/EitDvb.h"
#include "psi/dvb/Nit.h"
#include "psi/dvb/Sdt.h"
#include "psi/mpeg/Cat.h"
#include "psi/mpeg/Pat.h"
#include "psi/mpeg/PmtDvb.h"

namespace {

constexpr size_t kSampleSize = 65536;

struct Section {
  uint16_t pid;
  uint8_t tableId;
  std::vector<uint8_t> bytes;
};

// The tables a DVB search and EPG feed, routed by PID and table_id. Sections
// come from the splitter validated, so the tables take them without a second CRC.
class TableSet {
 public:
  void Add(uint16_t pid, uint8_t tableId, const uint8_t* data, uint32_t length) {
    if (pid == 0x0000 && tableId == 0x00) {
      m_pat.AddValidSection(data, length, pid, tableId);
    } else if (pid == 0x0001 && tableId == 0x01) {
      m_cat.AddValidSection(data, length, pid, tableId);
    } else if (tableId == 0x02) {
      m_mapPmts[pid].AddValidSection(data, length, pid, tableId);
    } else if (pid == 0x0010 && (tableId == 0x40 || tableId == 0x41)) {
      m_nit[tableId - 0x40].AddValidSection(data, length, pid, tableId);
    } else if (pid == 0x0011 && (tableId == 0x42 || tableId == 0x46)) {
      m_sdt[tableId == 0x46].AddValidSection(data, length, pid, tableId);
    } else if (pid == 0x0012 && tableId >= 0x4E && tableId <= 0x6F) {
      m_mapEits[tableId].AddValidSection(data, length, pid, tableId);
    }
  }

  // Complete tables (sub-tables for the DVB SI containers).
  size_t CompleteTables() const {
    size_t n = m_pat.IsComplete() + m_cat.IsComplete();
    for (const auto& [pid, pmt] : m_mapPmts) n += pmt.IsComplete();
    const auto count = [&n](const auto& container) {
      for (const auto& [key, subtable] : container.GetSubtables()) n += subtable->IsComplete();
    };
    for (const CNit& nit : m_nit) count(nit);
    for (const CSdt& sdt : m_sdt) count(sdt);
    for (const auto& [tableId, eit] : m_mapEits) count(eit);
    return n;
  }

 private:
  CPat m_pat;
  CCat m_cat;
  std::map<uint16_t, CPmtDvb> m_mapPmts;
  std::array<CNit, 2> m_nit;
  std::array<CSdt, 2> m_sdt;
  std::map<uint8_t, CEitDvb> m_mapEits;
};

class TableSplitter : public CPsiSectionSplitter {
 public:
  TableSet tables;
  std::vector<Section>* collected = nullptr;

 protected:
  bool OnSection(const uint8_t* data, uint32_t totalLength, uint16_t pid, uint8_t tableId) override {
    if (collected) collected->push_back({pid, tableId, std::vector<uint8_t>(data, data + totalLength)});
    tables.Add(pid, tableId, data, totalLength);
    return true;
  }
};

struct Stream {
  std::vector<uint8_t> bytes;
  std::set<uint16_t> pids;
  std::vector<Section> sections;
  std::map<uint16_t, uint16_t> programs;  // PMT PID -> program_number, for libdvbpsi
};

void Push(CPsiSectionSplitter& splitter, const std::vector<uint8_t>& bytes) {
  for (size_t pos = 0; pos < bytes.size(); pos += kSampleSize) {
    const size_t n = std::min(kSampleSize, bytes.size() - pos);
    splitter.Push(bytes.data() + pos, static_cast<uint32_t>(n));
  }
}

const Stream& Load(const char* name) {
  static std::map<std::string, Stream> cache;
  auto [it, inserted] = cache.try_emplace(name);
  Stream& stream = it->second;
  if (inserted) {
    stream.bytes = benchdata::ReadStream(name);
    if (stream.bytes.empty()) return stream;
    stream.pids = benchdata::PsiPids(stream.bytes);
    TableSplitter splitter;
    splitter.collected = &stream.sections;
    for (uint16_t pid : stream.pids) splitter.AddPid(pid);
    Push(splitter, stream.bytes);
    CPat pat;
    for (const Section& s : stream.sections)
      if (s.pid == 0 && s.tableId == 0) pat.AddSection(s.bytes.data(), uint32_t(s.bytes.size()), 0, 0);
    for (const PatProgram& program : pat.programs)
      if (program.program_number != 0) stream.programs[program.pid] = program.program_number;
  }
  return stream;
}

void BM_TablesFromPackets(benchmark::State& state, const char* name) {
  const Stream& stream = Load(name);
  if (stream.bytes.empty()) return state.SkipWithError("shared test stream not found");
  size_t tables = 0;
  for (auto _ : state) {
    TableSplitter splitter;
    for (uint16_t pid : stream.pids) splitter.AddPid(pid);
    Push(splitter, stream.bytes);
    tables = splitter.tables.CompleteTables();
    benchmark::DoNotOptimize(tables);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * stream.bytes.size()));
  state.counters["tables"] = static_cast<double>(tables);
}

void BM_TablesFromSections(benchmark::State& state, const char* name) {
  const Stream& stream = Load(name);
  if (stream.bytes.empty()) return state.SkipWithError("shared test stream not found");
  size_t tables = 0;
  for (auto _ : state) {
    TableSet set;
    for (const Section& s : stream.sections) set.Add(s.pid, s.tableId, s.bytes.data(), uint32_t(s.bytes.size()));
    tables = set.CompleteTables();
    benchmark::DoNotOptimize(tables);
  }
  state.counters["sections"] = static_cast<double>(stream.sections.size());
  state.counters["sections/s"] =
      benchmark::Counter(static_cast<double>(stream.sections.size()), benchmark::Counter::kIsIterationInvariantRate);
  state.counters["tables"] = static_cast<double>(tables);
}

// libdvbpsi keeps descriptors raw; decode the ones our factory decodes.
void DecodeDescriptors(dvbpsi_descriptor_t* descriptor) {
  for (; descriptor; descriptor = descriptor->p_next) {
    switch (descriptor->i_tag) {
      case 0x09: dvbpsi_DecodeCADr(descriptor); break;
      case 0x0A: dvbpsi_DecodeISO639Dr(descriptor); break;
      case 0x40: dvbpsi_DecodeNetworkNameDr(descriptor); break;
      case 0x41: dvbpsi_DecodeServiceListDr(descriptor); break;
      case 0x43: dvbpsi_DecodeSatDelivSysDr(descriptor); break;
      case 0x44: dvbpsi_DecodeCableDelivSysDr(descriptor); break;
      case 0x47: dvbpsi_DecodeBouquetNameDr(descriptor); break;
      case 0x48: dvbpsi_DecodeServiceDr(descriptor); break;
      case 0x4A: dvbpsi_DecodeLinkageDr(descriptor); break;
      case 0x4D: dvbpsi_DecodeShortEventDr(descriptor); break;
      case 0x4E: dvbpsi_DecodeExtendedEventDr(descriptor); break;
      case 0x50: dvbpsi_DecodeComponentDr(descriptor); break;
      case 0x54: dvbpsi_DecodeContentDr(descriptor); break;
      case 0x55: dvbpsi_DecodeParentalRatingDr(descriptor); break;
      case 0x56: dvbpsi_DecodeTeletextDr(descriptor); break;
      case 0x58: dvbpsi_DecodeLocalTimeOffsetDr(descriptor); break;
      case 0x59: dvbpsi_DecodeSubtitlingDr(descriptor); break;
      case 0x5A: dvbpsi_DecodeTerrDelivSysDr(descriptor); break;
      case 0x69: dvbpsi_DecodePDCDr(descriptor); break;
      default: break;
    }
  }
}

struct DvbpsiTables {
  size_t tables = 0;
  std::array<dvbpsi_t*, 8192> handles{};

  explicit DvbpsiTables(const Stream& stream) {
    Handle(0x0000, [](dvbpsi_t* h, void* self) { dvbpsi_pat_attach(h, &OnPat, self); });
    Handle(0x0001, [](dvbpsi_t* h, void* self) { dvbpsi_cat_attach(h, &OnCat, self); });
    for (uint16_t pid : {0x0010, 0x0011, 0x0012})
      Handle(pid, [](dvbpsi_t* h, void* self) { dvbpsi_AttachDemux(h, &OnNewSubtable, self); });
    for (const auto& [pid, program] : stream.programs) {
      dvbpsi_t* h = dvbpsi_new(nullptr, DVBPSI_MSG_NONE);
      dvbpsi_pmt_attach(h, program, &OnPmt, this);
      handles[pid] = h;
    }
  }
  ~DvbpsiTables() {
    for (uint16_t pid = 0; pid < handles.size(); ++pid) {
      dvbpsi_t* h = handles[pid];
      if (!h) continue;
      if (pid == 0x0000)
        dvbpsi_pat_detach(h);
      else if (pid == 0x0001)
        dvbpsi_cat_detach(h);
      else if (pid >= 0x0010 && pid <= 0x0012)
        dvbpsi_DetachDemux(h);
      else
        dvbpsi_pmt_detach(h);
      dvbpsi_delete(h);
    }
  }

  template <typename TAttach>
  void Handle(uint16_t pid, TAttach attach) {
    handles[pid] = dvbpsi_new(nullptr, DVBPSI_MSG_NONE);
    attach(handles[pid], this);
  }

  static void OnNewSubtable(dvbpsi_t* h, uint8_t tableId, uint16_t extension, void* self) {
    if (tableId == 0x40 || tableId == 0x41) dvbpsi_nit_attach(h, tableId, extension, &OnNit, self);
    if (tableId == 0x42 || tableId == 0x46) dvbpsi_sdt_attach(h, tableId, extension, &OnSdt, self);
    if (tableId >= 0x4E && tableId <= 0x6F) dvbpsi_eit_attach(h, tableId, extension, &OnEit, self);
  }
  static void OnPat(void* self, dvbpsi_pat_t* pat) {
    ++static_cast<DvbpsiTables*>(self)->tables;
    dvbpsi_pat_delete(pat);
  }
  static void OnCat(void* self, dvbpsi_cat_t* cat) {
    DecodeDescriptors(cat->p_first_descriptor);
    ++static_cast<DvbpsiTables*>(self)->tables;
    dvbpsi_cat_delete(cat);
  }
  static void OnPmt(void* self, dvbpsi_pmt_t* pmt) {
    DecodeDescriptors(pmt->p_first_descriptor);
    for (dvbpsi_pmt_es_t* es = pmt->p_first_es; es; es = es->p_next) DecodeDescriptors(es->p_first_descriptor);
    ++static_cast<DvbpsiTables*>(self)->tables;
    dvbpsi_pmt_delete(pmt);
  }
  static void OnNit(void* self, dvbpsi_nit_t* nit) {
    DecodeDescriptors(nit->p_first_descriptor);
    for (dvbpsi_nit_ts_t* ts = nit->p_first_ts; ts; ts = ts->p_next) DecodeDescriptors(ts->p_first_descriptor);
    ++static_cast<DvbpsiTables*>(self)->tables;
    dvbpsi_nit_delete(nit);
  }
  static void OnSdt(void* self, dvbpsi_sdt_t* sdt) {
    for (dvbpsi_sdt_service_t* s = sdt->p_first_service; s; s = s->p_next) DecodeDescriptors(s->p_first_descriptor);
    ++static_cast<DvbpsiTables*>(self)->tables;
    dvbpsi_sdt_delete(sdt);
  }
  static void OnEit(void* self, dvbpsi_eit_t* eit) {
    for (dvbpsi_eit_event_t* e = eit->p_first_event; e; e = e->p_next) DecodeDescriptors(e->p_first_descriptor);
    ++static_cast<DvbpsiTables*>(self)->tables;
    dvbpsi_eit_delete(eit);
  }
};

void BM_LibdvbpsiTables(benchmark::State& state, const char* name) {
  const Stream& stream = Load(name);
  if (stream.bytes.empty()) return state.SkipWithError("shared test stream not found");
  std::vector<uint8_t> packet(188);
  size_t tables = 0;
  for (auto _ : state) {
    DvbpsiTables decoders(stream);
    for (size_t pos = 0; pos + 188 <= stream.bytes.size(); pos += 188) {
      const uint8_t* p = stream.bytes.data() + pos;
      dvbpsi_t* handle = decoders.handles[((p[1] & 0x1F) << 8) | p[2]];
      if (!handle) continue;
      std::memcpy(packet.data(), p, 188);  // dvbpsi_packet_push takes a non-const packet
      dvbpsi_packet_push(handle, packet.data());
    }
    tables = decoders.tables;
    benchmark::DoNotOptimize(tables);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * stream.bytes.size()));
  // libdvbpsi reports every complete table again when its version changes.
  state.counters["tables"] = static_cast<double>(tables);
}

}  // namespace

// test-002: satellite PSI/SI dump (17 PMTs, 49 SDTs, EIT); test-092: terrestrial dump; test-108: a real capture.
BENCHMARK_CAPTURE(BM_TablesFromPackets, test_002, "test-002.sections.ts");
BENCHMARK_CAPTURE(BM_LibdvbpsiTables, test_002, "test-002.sections.ts");
BENCHMARK_CAPTURE(BM_TablesFromSections, test_002, "test-002.sections.ts");
BENCHMARK_CAPTURE(BM_TablesFromPackets, test_092, "test-092.sections.ts");
BENCHMARK_CAPTURE(BM_LibdvbpsiTables, test_092, "test-092.sections.ts");
BENCHMARK_CAPTURE(BM_TablesFromSections, test_092, "test-092.sections.ts");
BENCHMARK_CAPTURE(BM_TablesFromPackets, test_108, "test-108.ts");
BENCHMARK_CAPTURE(BM_LibdvbpsiTables, test_108, "test-108.ts");
BENCHMARK_CAPTURE(BM_TablesFromSections, test_108, "test-108.ts");
