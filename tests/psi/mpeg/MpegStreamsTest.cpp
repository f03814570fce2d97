// PAT, CAT and PMT of real streams, through the section splitter, against
// the dumps of two independent decoders.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "psi/ReferenceTables.h"
#include "psi/StreamSections.h"
#include "psi/mpeg/Cat.h"
#include "psi/mpeg/Pat.h"
#include "psi/mpeg/PmtAtsc.h"
#include "psi/mpeg/PmtDvb.h"
#include "support/TestData.h"

using namespace psitest;

namespace {

std::unique_ptr<CPmt> MakePmt(DescriptorContext context) {
  if (context == DescriptorContext_Atsc) return std::make_unique<CPmtAtsc>();
  return std::make_unique<CPmtDvb>();
}

void CheckPat(const ReferenceTable& reference, const CPat& pat) {
  EXPECT_TRUE(pat.IsComplete());
  size_t program = 0;
  for (const std::string& line : reference.lines) {
    std::smatch m;
    if (Match(line, R"re(TS id:\s+(\d+))re", m)) { EXPECT_EQ(pat.transport_stream_id, Dec(m[1])); }
    if (Match(line, R"re((?:Program|NIT):\s+(\d+) \(0x\w+\)\s+PID:\s+(\d+))re", m)) {
      ASSERT_LT(program, pat.programs.size()) << line;
      EXPECT_EQ(pat.programs[program].program_number, Dec(m[1])) << line;
      EXPECT_EQ(pat.programs[program].pid, Dec(m[2])) << line;
      ++program;
    }
  }
  EXPECT_EQ(program, pat.programs.size());
}

void CheckPmt(const ReferenceTable& reference, const CPmt& pmt) {
  EXPECT_TRUE(pmt.IsComplete());
  CDescriptorCursor cursor;
  size_t stream = 0;
  for (const std::string& line : reference.lines) {
    std::smatch m;
    if (Match(line, R"re(Program: 0x\w+ \((\d+)\), PCR PID: 0x\w+ \((\d+)\))re", m)) {
      EXPECT_EQ(pmt.program_number, Dec(m[1]));
      EXPECT_EQ(pmt.pcr_pid, Dec(m[2]));
      cursor.Enter(pmt.descriptors);
    } else if (Match(line, R"re(Elementary stream: type 0x([0-9A-F]{2}) .*, PID: 0x\w+ \((\d+)\)$)re", m)) {
      ASSERT_LT(stream, pmt.streams.size()) << line;
      EXPECT_EQ(pmt.streams[stream].stream_type, Hex(m[1])) << line;
      EXPECT_EQ(pmt.streams[stream].elementary_pid, Dec(m[2])) << line;
      cursor.Enter(pmt.streams[stream++].descriptors);
    } else {
      cursor.Check(line);
    }
  }
  EXPECT_EQ(stream, pmt.streams.size());
}

struct DumpCase {
  const char* stream;
  const char* reference;
  DescriptorContext context;
};

class MpegStreams : public testing::TestWithParam<DumpCase> {};

}  // namespace

TEST_P(MpegStreams, TablesMatchTheReferenceDump) {
  REQUIRE_SHARED_FILE(streamPath, GetParam().stream);
  REQUIRE_SHARED_FILE(referencePath, std::string("reference/") + GetParam().reference);
  const auto reference = ReadReferenceTables(referencePath);
  ASSERT_FALSE(reference.empty());

  const Bytes stream = ReadFile(streamPath);
  CPat pat;
  Feed(pat, StreamSections(stream, {0x0000}), 0x0000, 0x00);
  std::set<std::pair<unsigned, unsigned>> patPrograms;  // program_number, PMT PID
  std::set<uint16_t> pids = {0x0000, 0x0001};
  for (const PatProgram& program : pat.programs) {
    if (program.program_number == 0) continue;
    patPrograms.emplace(program.program_number, program.pid);
    pids.insert(program.pid);
  }
  for (const ReferenceTable& table : reference)
    if (table.name == "PMT") pids.insert(table.pid);
  const auto sections = StreamSections(stream, pids);

  size_t checked = 0;
  std::set<uint16_t> referencePmtPids;
  for (const ReferenceTable& table : reference) {
    SCOPED_TRACE(table.name + " on PID " + std::to_string(table.pid));
    if (table.name == "PAT") {
      CheckPat(table, pat);
      ++checked;
    } else if (table.name == "CAT") {
      CCat cat;
      Feed(cat, sections, 0x0001, 0x01);
      EXPECT_TRUE(cat.IsComplete());
      CDescriptorCursor cursor;
      cursor.Enter(cat.descriptors);
      for (const std::string& line : table.lines) cursor.Check(line);
      ++checked;
    } else if (table.name == "PMT") {
      // The section dumps carry only the PMTs of programs that their PAT lists.
      std::smatch m;
      const auto program = std::find_if(table.lines.begin(), table.lines.end(),
                                        [&m](const std::string& line) { return Match(line, R"re(Program: 0x\w+ \((\d+)\))re", m); });
      ASSERT_NE(program, table.lines.end());
      if (pat.IsComplete() && !patPrograms.contains({Dec(m[1]), table.pid})) continue;
      referencePmtPids.insert(table.pid);
      const auto pmt = MakePmt(GetParam().context);
      Feed(*pmt, sections, table.pid, 0x02);
      CheckPmt(table, *pmt);
      ++checked;
    }
  }
  EXPECT_GT(checked, 0u);

  // No program of the PAT has a complete PMT that the reference lacks.
  for (const auto& [programNumber, pid] : patPrograms) {
    const auto pmt = MakePmt(GetParam().context);
    Feed(*pmt, sections, pid, 0x02);
    EXPECT_EQ(pmt->IsComplete(), referencePmtPids.contains(pid)) << "PMT PID " << pid;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Dumps, MpegStreams,
    testing::Values(DumpCase{"test-092.sections.ts", "test-092.tstables.text.txt", DescriptorContext_Dvb},
                    DumpCase{"test-092.sections.packed.ts", "test-092.tstables.text.txt", DescriptorContext_Dvb},
                    DumpCase{"test-002.sections.ts", "test-002.tstables.text.txt", DescriptorContext_Dvb},
                    DumpCase{"test-040.sections.ts", "test-040.tstables.text.txt", DescriptorContext_Atsc},
                    DumpCase{"test-043.pmtvct.ts", "test-043.tstables.pmtvct.atsc.txt", DescriptorContext_Atsc},
                    DumpCase{"test-043.vctpmt.ts", "test-043.tstables.vctpmt.atsc.txt", DescriptorContext_Atsc}));

namespace {

// "PMT program=3411 pcr=0x208 streams=8: 2/0x208 4/0x2b2 ..." of the libdvbpsi dump.
struct DvbpsiPmt {
  unsigned pcr;
  std::vector<std::pair<unsigned, unsigned>> streams;  // stream_type, PID
};

class CapturedStreams : public testing::TestWithParam<const char*> {};

}  // namespace

TEST_P(CapturedStreams, PatAndPmtsMatchLibdvbpsi) {
  const std::string name = GetParam();
  REQUIRE_SHARED_FILE(streamPath, name + ".ts");
  REQUIRE_SHARED_FILE(referencePath, "reference/" + name + ".libdvbpsi.txt");

  // The first PAT and the first PMT of each program, as libdvbpsi met them.
  unsigned tsid = 0;
  std::vector<std::pair<unsigned, unsigned>> programs;
  std::map<unsigned, DvbpsiPmt> pmts;
  std::ifstream in(referencePath);
  bool firstPat = false, seenPat = false;
  for (std::string line; std::getline(in, line);) {
    std::smatch m;
    if (Match(line, R"re(^PAT tsid=(\d+))re", m)) {
      firstPat = !seenPat;
      seenPat = true;
      if (firstPat) tsid = Dec(m[1]);
    } else if (Match(line, R"re(^  program (\d+) pmt_pid=0x(\w+))re", m)) {
      if (firstPat) programs.emplace_back(Dec(m[1]), Hex(m[2]));
    } else if (Match(line, R"re(^PMT program=(\d+) pcr=0x(\w+) streams=\d+:(.*))re", m)) {
      if (pmts.contains(Dec(m[1]))) continue;
      DvbpsiPmt& pmt = pmts[Dec(m[1])];
      pmt.pcr = Hex(m[2]);
      std::istringstream list(m[3].str());
      for (std::string item; list >> item;) {
        const size_t slash = item.find('/');
        pmt.streams.emplace_back(std::stoul(item.substr(0, slash), nullptr, 16), std::stoul(item.substr(slash + 3), nullptr, 16));
      }
    } else if (!line.starts_with("  ")) {
      firstPat = false;
    }
  }
  ASSERT_TRUE(seenPat);

  const Bytes stream = ReadFile(streamPath);
  CPat pat;
  Feed(pat, StreamSections(stream, {0x0000}), 0x0000, 0x00);
  ASSERT_TRUE(pat.IsComplete());
  EXPECT_EQ(pat.transport_stream_id, tsid);
  ASSERT_EQ(pat.programs.size(), programs.size());
  std::set<uint16_t> pmtPids;
  for (size_t i = 0; i < programs.size(); ++i) {
    EXPECT_EQ(pat.programs[i].program_number, programs[i].first);
    EXPECT_EQ(pat.programs[i].pid, programs[i].second);
    if (programs[i].first != 0) pmtPids.insert(pat.programs[i].pid);
  }

  const auto sections = StreamSections(stream, pmtPids);
  size_t complete = 0;
  for (const PatProgram& program : pat.programs) {
    if (program.program_number == 0) continue;
    CPmtDvb pmt;
    Feed(pmt, sections, program.pid, 0x02);
    EXPECT_EQ(pmt.IsComplete(), pmts.contains(program.program_number)) << "program " << program.program_number;
    if (!pmt.IsComplete()) continue;
    ++complete;
    const DvbpsiPmt& expected = pmts.at(program.program_number);
    EXPECT_EQ(pmt.program_number, program.program_number);
    EXPECT_EQ(pmt.pcr_pid, expected.pcr);
    ASSERT_EQ(pmt.streams.size(), expected.streams.size());
    for (size_t i = 0; i < expected.streams.size(); ++i) {
      EXPECT_EQ(pmt.streams[i].stream_type, expected.streams[i].first);
      EXPECT_EQ(pmt.streams[i].elementary_pid, expected.streams[i].second);
    }
  }
  EXPECT_EQ(complete, pmts.size());
}

INSTANTIATE_TEST_SUITE_P(Captures, CapturedStreams, testing::Values("test-108", "test-018", "test-103", "test-030"));
