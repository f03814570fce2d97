#include "DemoNetwork.h"

#include <stdexcept>

#include "Multiplexer.h"
#include "PesPacket.h"

namespace demo {

namespace {

Bytes Lang(const char* code) { return Bytes(code, code + 3); }

Stream Mpeg2Video(uint16_t pid, const char* clip) { return {0x02, pid, {}, Coding::Mpeg2Video, clip}; }
Stream H264Video(uint16_t pid, const char* clip) { return {0x1B, pid, {}, Coding::H264Video, clip}; }
Stream MpegAudio(uint16_t pid, const char* lang, const char* clip) {
  Bytes body = Lang(lang);
  body.push_back(0x00);
  return {0x03, pid, {Descriptor(0x0A, body)}, Coding::MpegAudio, clip};
}
Stream Ac3Audio(uint16_t pid, const char* lang, const char* clip) {
  Bytes iso = Lang(lang);
  iso.push_back(0x00);
  return {0x06, pid, {Descriptor(0x6A, {0x00}), Descriptor(0x0A, iso)}, Coding::Ac3Audio, clip};
}
Stream Teletext(uint16_t pid, const char* lang) {
  Bytes body = Lang(lang);
  body.insert(body.end(), {0x09, 0x00});  // initial page, magazine 1, page 00
  Bytes subtitles = Lang(lang);
  subtitles.insert(subtitles.end(), {0x29, 0x88});  // subtitle page, magazine 1, page 88
  body.insert(body.end(), subtitles.begin(), subtitles.end());
  return {0x06, pid, {Descriptor(0x56, body)}, Coding::None, {}};
}
Stream Subtitles(uint16_t pid, const char* lang) {
  Bytes body = Lang(lang);
  body.insert(body.end(), {0x10, 0x00, 0x01, 0x00, 0x01});  // normal, composition 1, ancillary 1
  return {0x06, pid, {Descriptor(0x59, body)}, Coding::None, {}};
}

const char* const kLatin5 = "\x05";   // ISO 8859-9
const char* const kUtf8 = "\x15";     // UTF-8

}  // namespace

std::vector<Mux> DemoMuxes() {
  const std::vector<std::string> news = {"Morning News", "Weather", "World Report", "Business Today"};
  const std::vector<std::string> films = {"The Long Road", "Night Train", "Ocean Blue"};
  const std::vector<std::string> music = {"Classics at Noon", "Evening Jazz", "Night Songs"};
  const std::vector<std::string> kids = {"Cartoon Time", "Science Club", "Animal Friends"};
  const std::vector<std::string> local = {"Haberler", "Belgesel", "Spor"};
  return {
      {0x0001, 474000,
       {{0x0101, 0x01, "Demo Broadcasting", "Demo One", 0x0100, 0x0111, false,
         {Mpeg2Video(0x0111, "demo-one.m2v"), MpegAudio(0x0112, "eng", "demo-one-eng.mp2"),
          MpegAudio(0x0113, "deu", "demo-one-deu.mp2"), Teletext(0x0114, "eng")},
         news},
        // ISO 6937: a non-spacing acute accent before the letter.
        {0x0102, 0x19, "T\xC2" "el\xC2" "e Nord", "T\xC2" "el\xC2" "e Nord HD", 0x0200, 0x0211, false,
         {H264Video(0x0211, "tele-nord-hd.h264"), Ac3Audio(0x0212, "fre", "tele-nord-hd.ac3"),
          Subtitles(0x0213, "fre")},
         films},
        {0x0103, 0x02, "Demo Broadcasting", "Radio Classic", 0x0300, 0x0311, false,
         {MpegAudio(0x0311, "eng", "radio-classic.mp2")}, music},
        {0x0104, 0x01, std::string(kLatin5) + "Yerel Yay\xFDnc\xFD", std::string(kLatin5) + "Kanal \xDE" "ehir",
         0x0400, 0x0411, false,
         {H264Video(0x0411, "kanal-sehir.h264"), MpegAudio(0x0412, "tur", "kanal-sehir.mp2")}, local}}},
      {0x0002, 522000,
       {{0x0201, 0x01, "Demo Broadcasting", "Demo News", 0x0100, 0x0111, false,
         {Mpeg2Video(0x0111, "demo-news.m2v"), MpegAudio(0x0112, "eng", "demo-news.mp2"), Teletext(0x0113, "eng")},
         news},
        {0x0202, 0x02, std::string(kUtf8) + "\xD0\xA0\xD0\xB0\xD0\xB4\xD0\xB8\xD0\xBE",
         std::string(kUtf8) + "\xD0\xA0\xD0\xB0\xD0\xB4\xD0\xB8\xD0\xBE \xD0\x9E\xD0\xB4\xD0\xB8\xD0\xBD", 0x0200, 0x0211,
         false, {MpegAudio(0x0211, "rus", "radio-odin.mp2")}, music},
        {0x0203, 0x19, "Sport Media", "Sport Live HD", 0x0300, 0x0311, false,
         {H264Video(0x0311, "sport-live-hd.h264"), Ac3Audio(0x0312, "eng", "sport-live-hd.ac3"),
          MpegAudio(0x0313, "spa", "sport-live-hd-spa.mp2")},
         news},
        {0x0204, 0x01, "Demo Broadcasting", "Kids Club", 0x0400, 0x0411, false,
         {Mpeg2Video(0x0411, "kids-club.m2v"), MpegAudio(0x0412, "eng", "kids-club.mp2"), Subtitles(0x0413, "eng")},
         kids}}},
      {0x0003, 570000,
       {{0x0301, 0x19, "Cinema Group", "Movie Max HD", 0x0100, 0x0111, true,
         {H264Video(0x0111, "movie-max-hd.h264"), Ac3Audio(0x0112, "eng", "movie-max-hd-eng.ac3"),
          Ac3Audio(0x0113, "fre", "movie-max-hd-fre.ac3")},
         films},
        {0x0302, 0x02, "Cinema Group", "Jazz FM", 0x0200, 0x0211, false, {MpegAudio(0x0211, "eng", "jazz-fm.mp2")},
         music},
        {0x0303, 0x19, "Nature Channel", "Nature HD", 0x0300, 0x0311, false,
         {H264Video(0x0311, "nature-hd.h264"), MpegAudio(0x0312, "eng", "nature-hd.mp2"), Teletext(0x0313, "eng")},
         kids},
        {0x0304, 0x01, "Demo Broadcasting", "Shopping 24", 0x0400, 0x0411, false,
         {Mpeg2Video(0x0411, "shopping-24.m2v"), MpegAudio(0x0412, "eng", "shopping-24.mp2")}, news}}},
  };
}

namespace {

constexpr uint16_t kCaSystemId = 0x0B00;
constexpr uint16_t kEcmPid = 0x0150;
constexpr uint16_t kEmmPid = 0x0160;

Bytes Pat(const Mux& mux) {
  ByteWriter w;
  w.U16(0x0000);
  w.U16(0xE010);  // program 0: the NIT
  for (const Service& s : mux.services) {
    w.U16(s.serviceId);
    w.U16(0xE000 | s.pmtPid);
  }
  return LongSection(0x00, mux.transportStreamId, 0, 0, w.Get());
}

Bytes Cat() {
  ByteWriter ca;
  ca.U16(kCaSystemId);
  ca.U16(0xE000 | kEmmPid);
  return LongSection(0x01, 0xFFFF, 0, 0, Descriptor(0x09, ca.Get()));
}

Bytes Pmt(const Service& s) {
  ByteWriter w;
  w.U16(0xE000 | s.pcrPid);
  const size_t info = w.BeginLoop();
  if (s.scrambled) {
    ByteWriter ca;
    ca.U16(kCaSystemId);
    ca.U16(0xE000 | kEcmPid);
    w.Append(Descriptor(0x09, ca.Get()));
  }
  w.EndLoop(info);
  for (const Stream& e : s.streams) {
    w.U8(e.streamType);
    w.U16(0xE000 | e.pid);
    const size_t loop = w.BeginLoop();
    for (const Bytes& d : e.descriptors) w.Append(d);
    w.EndLoop(loop);
  }
  return LongSection(0x02, s.serviceId, 0, 0, w.Get());
}

Bytes ServiceDescriptor(const Service& s) {
  Bytes body = {s.serviceType, static_cast<uint8_t>(s.provider.size())};
  body.insert(body.end(), s.provider.begin(), s.provider.end());
  body.push_back(static_cast<uint8_t>(s.name.size()));
  body.insert(body.end(), s.name.begin(), s.name.end());
  return Descriptor(0x48, body);
}

Bytes Sdt(const Mux& mux, bool actual) {
  ByteWriter w;
  w.U16(kOriginalNetworkId);
  w.U8(0xFF);
  for (const Service& s : mux.services) {
    w.U16(s.serviceId);
    w.U8(0xFF);  // EIT schedule and present/following flags set
    const size_t loop = w.BeginLoop();
    w.Append(ServiceDescriptor(s));
    w.EndLoop(loop, static_cast<uint8_t>(0x80 | (s.scrambled ? 0x10 : 0x00)));  // running
  }
  return LongSection(actual ? 0x42 : 0x46, mux.transportStreamId, 0, 0, w.Get(), true);
}

Bytes TerrestrialDelivery(uint32_t frequencyKHz) {
  ByteWriter w;
  w.U32(frequencyKHz * 100);  // units of 10 Hz
  w.U8(0x1F);                 // 8 MHz, priority, no time slicing, no MPE-FEC
  w.U8(0x90);                 // 64-QAM, non-hierarchical, code rate HP 2/3
  w.U8(0x52);                 // code rate LP 2/3, guard 1/4, 8k mode
  w.U32(0xFFFFFFFF);
  return Descriptor(0x5A, w.Get());
}

Bytes Nit(const std::vector<Mux>& muxes) {
  ByteWriter w;
  const size_t network = w.BeginLoop();
  w.Append(Descriptor(0x40, DvbText("Demo Network")));
  w.EndLoop(network);
  const size_t streams = w.BeginLoop();
  for (const Mux& mux : muxes) {
    w.U16(mux.transportStreamId);
    w.U16(kOriginalNetworkId);
    const size_t loop = w.BeginLoop();
    ByteWriter list;
    for (const Service& s : mux.services) {
      list.U16(s.serviceId);
      list.U8(s.serviceType);
    }
    w.Append(Descriptor(0x41, list.Get()));
    w.Append(TerrestrialDelivery(mux.frequencyKHz));
    w.EndLoop(loop);
  }
  w.EndLoop(streams);
  return LongSection(0x40, kNetworkId, 0, 0, w.Get(), true);
}

Bytes ShortEvent(const std::string& name, const std::string& text) {
  Bytes body = Lang("eng");
  body.push_back(static_cast<uint8_t>(name.size()));
  body.insert(body.end(), name.begin(), name.end());
  body.push_back(static_cast<uint8_t>(text.size()));
  body.insert(body.end(), text.begin(), text.end());
  return Descriptor(0x4D, body);
}

Bytes ExtendedEvent(const std::vector<std::pair<std::string, std::string>>& items, const std::string& text) {
  Bytes body = {0x00};
  const Bytes lang = Lang("eng");
  body.insert(body.end(), lang.begin(), lang.end());
  Bytes loop;
  for (const auto& [description, item] : items) {
    loop.push_back(static_cast<uint8_t>(description.size()));
    loop.insert(loop.end(), description.begin(), description.end());
    loop.push_back(static_cast<uint8_t>(item.size()));
    loop.insert(loop.end(), item.begin(), item.end());
  }
  body.push_back(static_cast<uint8_t>(loop.size()));
  body.insert(body.end(), loop.begin(), loop.end());
  body.push_back(static_cast<uint8_t>(text.size()));
  body.insert(body.end(), text.begin(), text.end());
  return Descriptor(0x4E, body);
}

// One hour-long programme per hour of the day, titles in a loop.
constexpr int kProgrammeSeconds = 3600;
constexpr int64_t kDayStart = 1796860800;

void WriteEvent(ByteWriter& w, const Service& s, int hour, uint8_t runningStatus) {
  const std::string& title = s.programmes[static_cast<size_t>(hour) % s.programmes.size()];
  w.U16(static_cast<uint16_t>(1000 + hour));
  w.Append(MjdUtc(kDayStart + int64_t(hour) * kProgrammeSeconds));
  w.Append(BcdDuration(kProgrammeSeconds));
  const size_t loop = w.BeginLoop();
  // The text names the service in its own character table.
  const bool selector = static_cast<uint8_t>(s.name[0]) < 0x20;
  const std::string text = selector ? s.name.substr(0, 1) + title + " on " + s.name.substr(1) : title + " on " + s.name;
  w.Append(ShortEvent(title, text));
  if (hour % 2 == 0)
    w.Append(ExtendedEvent({{"Presenter", "A. Smith"}, {"Year", "2026"}}, "Live from the demo studio."));
  w.EndLoop(loop, static_cast<uint8_t>(runningStatus << 5 | (s.scrambled ? 0x10 : 0x00)));
}

Bytes EitHeader(const Mux& mux, uint8_t segmentLastSection, uint8_t lastTableId) {
  ByteWriter w;
  w.U16(mux.transportStreamId);
  w.U16(kOriginalNetworkId);
  w.U8(segmentLastSection);
  w.U8(lastTableId);
  return w.Get();
}

std::vector<Bytes> EitPresentFollowing(const Mux& mux, bool actual) {
  std::vector<Bytes> sections;
  const int hour = static_cast<int>((kNow - kDayStart) / kProgrammeSeconds);
  const uint8_t tableId = actual ? 0x4E : 0x4F;
  for (const Service& s : mux.services) {
    for (uint8_t n = 0; n < 2; ++n) {
      ByteWriter w;
      w.Append(EitHeader(mux, 1, tableId));
      WriteEvent(w, s, hour + n, n == 0 ? 4 : 1);
      sections.push_back(LongSection(tableId, s.serviceId, n, 1, w.Get(), true));
    }
  }
  return sections;
}

// A day of schedule: eight three-hour segments, one section each.
std::vector<Bytes> EitSchedule(const Mux& mux) {
  std::vector<Bytes> sections;
  for (const Service& s : mux.services) {
    for (uint8_t segment = 0; segment < 8; ++segment) {
      ByteWriter w;
      w.Append(EitHeader(mux, static_cast<uint8_t>(segment * 8), 0x50));
      for (int h = 0; h < 3; ++h) WriteEvent(w, s, segment * 3 + h, 0);
      sections.push_back(LongSection(0x50, s.serviceId, static_cast<uint8_t>(segment * 8), 56, w.Get(), true));
    }
  }
  return sections;
}

Bytes Tdt() { return ShortSection(0x70, MjdUtc(kNow)); }

constexpr double kTicksPerSecond = 90000;
// How long a unit waits in the decoder's buffer between its sending and its
// presentation: ample for the queueing behind tables and other streams.
constexpr uint32_t kDecoderDelayTicks = 200 * 90;

// Sends the clip's units one unit's duration apart from the start of the file on.
void AddClip(Multiplexer& mx, const Stream& e, const std::filesystem::path& clips) {
  const Clip clip = ReadClip(clips / e.clip, e.coding);
  if (clip.units.size() * clip.unitTicks != kLoopTicks)
    throw std::runtime_error((clips / e.clip).string() + ": lasts " +
                             std::to_string(clip.units.size() * clip.unitTicks / 90) + " ms, not the loop's " +
                             std::to_string(kLoopTicks / 90) + " ms");
  for (size_t n = 0; n < clip.units.size(); ++n) {
    const uint64_t sent = n * clip.unitTicks, pts = sent + kDecoderDelayTicks;
    mx.AddPes(e.pid, PesPacket(PesStreamId(e.coding), pts, clip.units[n]), sent / kTicksPerSecond,
              pts / kTicksPerSecond);
  }
}

}  // namespace

Bytes BuildMux(const std::vector<Mux>& muxes, size_t index, const std::filesystem::path& clips, uint32_t bitrate) {
  const Mux& mux = muxes[index];
  Multiplexer mx(bitrate, kLoopTicks / kTicksPerSecond);
  mx.AddTable(0x0000, {Pat(mux)}, 100, 0);
  mx.AddTable(0x0001, {Cat()}, 500, 5);
  for (const Service& s : mux.services) {
    mx.AddTable(s.pmtPid, {Pmt(s)}, 100, 10);
    mx.AddPcr(s.pcrPid, 40);
    for (const Stream& e : s.streams)
      if (e.coding != Coding::None) AddClip(mx, e, clips);
  }
  mx.AddTable(0x0010, {Nit(muxes)}, 500, 20);
  std::vector<Bytes> sdt = {Sdt(mux, true)};
  for (size_t i = 0; i < muxes.size(); ++i)
    if (i != index) sdt.push_back(Sdt(muxes[i], false));
  mx.AddTable(0x0011, sdt, 500, 30);
  std::vector<Bytes> eit = EitPresentFollowing(mux, true);
  for (size_t i = 0; i < muxes.size(); ++i) {
    if (i == index) continue;
    const std::vector<Bytes> other = EitPresentFollowing(muxes[i], false);
    eit.insert(eit.end(), other.begin(), other.end());
  }
  mx.AddTable(0x0012, eit, 500, 40);
  mx.AddTable(0x0012, EitSchedule(mux), 1000, 250);
  mx.AddTable(0x0014, {Tdt()}, 1000, 60);
  return mx.Build();
}

}  // namespace demo
