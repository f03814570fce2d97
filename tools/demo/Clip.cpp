#include "Clip.h"

#include <fstream>
#include <iterator>
#include <optional>
#include <stdexcept>

namespace demo {

namespace {

constexpr uint32_t kTicksPerSecond = 90000;
// Picture durations by MPEG-2 frame_rate_code; 0 for the NTSC rates, whose
// durations are no whole number of ticks.
constexpr uint32_t kMpeg2PictureTicks[16] = {0, 0, 3750, 3600, 3003, 3000, 1800, 0, 1500};
// H.264 streams carry their rate only in optional VUI; the clips are made at
// 25 pictures per second, the rate of DVB's 50 Hz countries.
constexpr uint32_t kH264PictureTicks = kTicksPerSecond / 25;

Bytes ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot open the file");
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<size_t> StartCodes(const Bytes& es) {
  std::vector<size_t> at;
  for (size_t i = 0; i + 3 < es.size(); ++i) {
    if (es[i] == 0 && es[i + 1] == 0 && es[i + 2] == 1) {
      at.push_back(i);
      i += 2;
    }
  }
  return at;
}

std::vector<Bytes> CutAt(const Bytes& es, const std::vector<size_t>& cuts) {
  std::vector<Bytes> units;
  for (size_t i = 0; i < cuts.size(); ++i) {
    const size_t end = i + 1 < cuts.size() ? cuts[i + 1] : es.size();
    units.emplace_back(es.begin() + static_cast<std::ptrdiff_t>(cuts[i]),
                       es.begin() + static_cast<std::ptrdiff_t>(end));
  }
  return units;
}

// A picture's unit opens with the sequence or GOP header before it, if any.
Clip SplitMpeg2Video(const Bytes& es) {
  std::vector<size_t> cuts;
  bool pictureSeen = true;
  uint32_t ticks = 0;
  for (size_t at : StartCodes(es)) {
    const uint8_t code = es[at + 3];
    if (code != 0xB3 && code != 0xB8 && code != 0x00) continue;
    if (pictureSeen) cuts.push_back(at);
    pictureSeen = code == 0x00;
    if (code == 0xB3 && at + 7 < es.size()) ticks = kMpeg2PictureTicks[es[at + 7] & 0x0F];
    // Without B-pictures decoding order is presentation order: PTS alone suffices.
    if (code == 0x00 && at + 5 < es.size() && (es[at + 5] >> 3 & 0x07) == 3)
      throw std::runtime_error("B-pictures are not supported");
  }
  if (cuts.empty() || cuts.front() != 0) throw std::runtime_error("not an MPEG-2 video stream");
  if (ticks == 0) throw std::runtime_error("no sequence header with a frame rate of whole 90 kHz ticks");
  Clip clip{CutAt(es, cuts), ticks};
  // A sequence end code would end the sequence at the seam of the loop.
  Bytes& last = clip.units.back();
  if (last.size() >= 4 && Bytes(last.end() - 4, last.end()) == Bytes{0x00, 0x00, 0x01, 0xB7})
    last.resize(last.size() - 4);
  return clip;
}

// Access units open with an access unit delimiter (NAL unit type 9).
Clip SplitH264Video(const Bytes& es) {
  std::vector<size_t> cuts;
  for (size_t at : StartCodes(es)) {
    if ((es[at + 3] & 0x1F) != 9) continue;
    cuts.push_back(at > 0 && es[at - 1] == 0 ? at - 1 : at);
  }
  if (cuts.empty() || cuts.front() != 0) throw std::runtime_error("not an H.264 stream with access unit delimiters");
  return {CutAt(es, cuts), kH264PictureTicks};
}

struct Frame {
  size_t length;
  uint32_t ticks;
};

// MPEG-1 layer II: 1152 samples a frame.
std::optional<Frame> MpegAudioFrame(const uint8_t* p, size_t left) {
  static constexpr uint32_t kKbps[16] = {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384, 0};
  static constexpr uint32_t kRates[4] = {44100, 48000, 32000, 0};
  if (left < 4 || p[0] != 0xFF || (p[1] & 0xFE) != 0xFC) return std::nullopt;
  const uint32_t kbps = kKbps[p[2] >> 4], rate = kRates[p[2] >> 2 & 0x03];
  if (kbps == 0 || rate == 0 || 1152 * kTicksPerSecond % rate != 0) return std::nullopt;
  return Frame{144000 * kbps / rate + (p[2] >> 1 & 0x01), 1152 * kTicksPerSecond / rate};
}

// AC-3: 1536 samples a frame; 44.1 kHz frames vary in length and are not supported.
std::optional<Frame> Ac3Frame(const uint8_t* p, size_t left) {
  static constexpr uint32_t kKbps[19] = {32,  40,  48,  56,  64,  80,  96,  112, 128, 160,
                                         192, 224, 256, 320, 384, 448, 512, 576, 640};
  if (left < 5 || p[0] != 0x0B || p[1] != 0x77) return std::nullopt;
  const uint32_t fscod = p[4] >> 6, frmsizecod = p[4] & 0x3F;
  if (frmsizecod / 2 >= 19 || (fscod != 0 && fscod != 2)) return std::nullopt;
  const uint32_t kbps = kKbps[frmsizecod / 2];
  return fscod == 0 ? Frame{4 * kbps, 2880} : Frame{6 * kbps, 4320};  // 48 kHz, 32 kHz
}

Clip SplitFrames(const Bytes& es, std::optional<Frame> (*frameAt)(const uint8_t*, size_t), const char* coding) {
  Clip clip{{}, 0};
  for (size_t at = 0; at < es.size();) {
    const std::optional<Frame> frame = frameAt(&es[at], es.size() - at);
    if (!frame || frame->length > es.size() - at || (clip.unitTicks != 0 && frame->ticks != clip.unitTicks))
      throw std::runtime_error("no whole " + std::string(coding) + " frame like the first at byte " +
                               std::to_string(at));
    clip.unitTicks = frame->ticks;
    clip.units.emplace_back(es.begin() + static_cast<std::ptrdiff_t>(at),
                            es.begin() + static_cast<std::ptrdiff_t>(at + frame->length));
    at += frame->length;
  }
  if (clip.units.empty()) throw std::runtime_error("empty");
  return clip;
}

}  // namespace

Clip ReadClip(const std::filesystem::path& path, Coding coding) {
  try {
    const Bytes es = ReadFile(path);
    switch (coding) {
      case Coding::Mpeg2Video:
        return SplitMpeg2Video(es);
      case Coding::H264Video:
        return SplitH264Video(es);
      case Coding::MpegAudio:
        return SplitFrames(es, MpegAudioFrame, "MPEG audio");
      case Coding::Ac3Audio:
        return SplitFrames(es, Ac3Frame, "AC-3");
      case Coding::None:
        break;
    }
    throw std::runtime_error("no coding given");
  } catch (const std::runtime_error& e) {
    throw std::runtime_error(path.string() + ": " + e.what());
  }
}

uint8_t PesStreamId(Coding coding) {
  switch (coding) {
    case Coding::Mpeg2Video:
    case Coding::H264Video:
      return 0xE0;
    case Coding::MpegAudio:
      return 0xC0;
    default:
      return 0xBD;  // private_stream_1: AC-3
  }
}

}  // namespace demo
