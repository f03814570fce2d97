// Wall time of channel searches on the virtual demo tuner, playing in real
// time: the three demo multiplexes, each next to the moment its last needed
// table (SDT, NIT, every PMT) first completes in the stream; and the whole
// country-49 list (121 records, 3 of them receivable).
#include <benchmark/benchmark.h>

#include <chrono>
#include <condition_variable>
#include <fstream>
#include <iterator>
#include <mutex>
#include <set>
#include <vector>

#include "Devices/KxSystemConfiguration.h"
#include "Tuner/KxTuningData.h"
#include "hwconfig/HWConfig.h"
#include "interfaces/IKxTuner.h"
#include "platform/com/ComObject.h"
#include "platform/com/Utf.h"
#include "platform/virtualdvb/StreamBitrate.h"
#include "psi/ts/PsiSectionSplitter.h"
#include "support/TempDir.h"

namespace {
using Clock = std::chrono::steady_clock;
constexpr LONG kDemoFrequencies[] = {474000, 522000, 570000};

std::string DemoFile(int mux) { return std::string(DTV_DEMO_DIR) + "/demo-mux" + std::to_string(mux) + ".ts"; }

std::vector<uint8_t> ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Seconds of playback until the SDT, the NIT and every PMT the PAT names
// have each been complete once.
double NeededTablesSeconds(const std::vector<uint8_t>& stream) {
  class Reader : public CPsiSectionSplitter {
   public:
    bool Done() const { return m_patSeen && m_sdt && m_nit && m_pmtPids.empty(); }

   protected:
    bool OnSection(const uint8_t* data, uint32_t totalLength, uint16_t pid, uint8_t tableId) override {
      if (tableId == 0x00 && !m_patSeen) {
        m_patSeen = true;
        for (uint32_t i = 8; i + 4 + 4 <= totalLength; i += 4) {
          const uint16_t program = static_cast<uint16_t>((data[i] << 8) | data[i + 1]);
          const uint16_t pmt = static_cast<uint16_t>(((data[i + 2] & 0x1F) << 8) | data[i + 3]);
          if (program == 0) continue;
          m_pmtPids.insert(pmt);
          AddPid(pmt);
        }
      }
      if (tableId == 0x02) m_pmtPids.erase(pid);
      if (tableId == 0x42) m_sdt = true;
      if (tableId == 0x40) m_nit = true;
      return true;
    }

   private:
    bool m_patSeen = false, m_sdt = false, m_nit = false;
    std::set<uint16_t> m_pmtPids;
  } reader;
  for (uint16_t pid : {0x0000, 0x0010, 0x0011}) reader.AddPid(pid);
  const auto bitrate = PcrBitrate(stream);
  if (!bitrate) return -1;
  for (size_t at = 0; at + 188 <= stream.size(); at += 188) {
    reader.Append(stream.data() + at, 188);
    reader.ProcessBuffer();
    if (reader.Done()) return static_cast<double>((at + 188) * 8) / static_cast<double>(*bitrate);
  }
  return -1;
}

// Notes when each step's status text and the end arrive.
class CStepClock : public IKxTunerCallback {
 public:
  using InterfaceMap = ::InterfaceMap<IKxTunerCallback>;
  virtual ~CStepClock() = default;
  HRESULT OnChannelFound(BSTR, IUnknown*) override {
    std::lock_guard lock(m_mutex);
    ++m_channels;
    return S_OK;
  }
  HRESULT OnSignalStatistic(BSTR, LONG, LONG) override { return S_OK; }
  HRESULT OnProgress(BSTR, LONG) override { return S_OK; }
  HRESULT OnStatusText(BSTR, BSTR) override {
    std::lock_guard lock(m_mutex);
    m_steps.push_back(Clock::now());
    return S_OK;
  }
  HRESULT OnFinished(BSTR) override {
    {
      std::lock_guard lock(m_mutex);
      m_steps.push_back(Clock::now());
      m_finished = true;
    }
    m_changed.notify_all();
    return S_OK;
  }
  // The step start times followed by the end; empty when the search did not end in time.
  std::vector<Clock::time_point> WaitForEnd(std::chrono::seconds limit) {
    std::unique_lock lock(m_mutex);
    if (!m_changed.wait_for(lock, limit, [&] { return m_finished; })) return {};
    return m_steps;
  }
  int Channels() {
    std::lock_guard lock(m_mutex);
    return m_channels;
  }

 private:
  std::mutex m_mutex;
  std::condition_variable m_changed;
  std::vector<Clock::time_point> m_steps;
  bool m_finished = false;
  int m_channels = 0;
};

// A DVB-T tuner of the demo network's three multiplexes.
ComPtr<IKxTuner> DemoTuner(const TempDir& dir) {
  std::string xml = R"(<virtualTuners><tuner id="t" system="DVB-T">)";
  for (int mux = 1; mux <= 3; ++mux)
    xml += "<multiplex frequency=\"" + std::to_string(kDemoFrequencies[mux - 1]) + "\" file=\"" + DemoFile(mux) + "\"/>";
  const std::string description = dir.Write("tuners.xml", xml + "</tuner></virtualTuners>");
  ComPtr<IKxHWConfig> hw;
  if (FAILED(CreateHWConfig({dir / "dev", dir / "sys", {description}, false}, hw.Put()))) return {};
  ComPtr<IUnknown> object;
  if (FAILED(CreateSystemConfigurationObject(hw.Get(), object.Put()))) return {};
  ComPtr<IKxCaptureDevice> device;
  const BStr moniker(Utf8ToUtf16("virtualdvb:" + description + "#t"));
  if (FAILED(QueryAs<IKxSystemConfiguration>(object.Get())->GetDeviceByMonikerName(moniker.Get(), device.Put())))
    return {};
  ComPtr<IUnknown> tuner;
  if (FAILED(device->CreateTuner(tuner.Put()))) return {};
  return QueryAs<IKxTuner>(tuner.Get());
}

std::vector<Clock::time_point> Scan(IKxTuner* tuner, CStepClock* steps) {
  QueryAs<IKxTunerSetupDvbt>(tuner)->put_CountryCode(49);
  if (FAILED(tuner->StartAutoTuning(static_cast<IKxTunerCallback*>(steps)))) return {};
  auto times = steps->WaitForEnd(std::chrono::seconds(600));
  tuner->StopAutoTuning();
  return times;
}

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

void BM_ScanDemoMultiplexes(benchmark::State& state) {
  for (auto _ : state) {
    TempDir dir;
    const auto tuner = DemoTuner(dir);
    if (!tuner) return state.SkipWithError("no demo tuner");
    std::string params = R"(<NetworkType name="DVB-T"><Network name="PAL-X">)";
    for (LONG f : kDemoFrequencies) params += "<param frequency=\"" + std::to_string(f) + "\" bandwidth=\"8\"/>";
    auto data = ComObject<CKxTuningData>::Make();
    data->InitializeByString(BStr(u"KxTuningDataType_Dvbt").Get(),
                             BStr(Utf8ToUtf16(params + "</Network></NetworkType>")).Get());
    QueryAs<IKxTunerSetupTuningData>(tuner.Get())->SetTuningData(data.Get());
    auto steps = ComObject<CStepClock>::Make();
    const auto times = Scan(tuner.Get(), steps.Get());
    if (times.size() != 4) return state.SkipWithError("the search did not end");
    for (int mux = 1; mux <= 3; ++mux) {
      const std::string name = "mux" + std::to_string(mux);
      state.counters[name + "_scan_s"] = Seconds(times[mux] - times[mux - 1]);
      state.counters[name + "_tables_s"] = NeededTablesSeconds(ReadFile(DemoFile(mux)));
    }
    state.counters["channels"] = steps->Channels();
    state.SetIterationTime(Seconds(times.back() - times.front()));
  }
}

void BM_ScanCountry49(benchmark::State& state) {
  for (auto _ : state) {
    TempDir dir;
    const auto tuner = DemoTuner(dir);
    if (!tuner) return state.SkipWithError("no demo tuner");
    auto steps = ComObject<CStepClock>::Make();
    const auto times = Scan(tuner.Get(), steps.Get());
    if (times.empty()) return state.SkipWithError("the search did not end");
    state.counters["records"] = static_cast<double>(times.size() - 1);
    state.counters["channels"] = steps->Channels();
    state.SetIterationTime(Seconds(times.back() - times.front()));
  }
}
}  // namespace

BENCHMARK(BM_ScanDemoMultiplexes)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);
BENCHMARK(BM_ScanCountry49)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);
