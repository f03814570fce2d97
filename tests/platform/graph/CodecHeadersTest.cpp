#include <gtest/gtest.h>

#include <vector>

#include "platform/graph/codecs/AudioHeaders.h"
#include "platform/graph/codecs/VideoHeaders.h"

namespace {

// Writes fields most significant bit first, with exponential-Golomb codes.
class BitWriter {
 public:
  BitWriter& Bits(uint32_t value, int count) {
    for (int i = count - 1; i >= 0; --i) Bit((value >> i) & 1);
    return *this;
  }
  BitWriter& Ue(uint32_t value) {
    const uint32_t code = value + 1;
    int length = 0;
    while ((code >> length) > 1) ++length;
    Bits(0, length);
    return Bits(code, length + 1);
  }
  std::vector<uint8_t> Bytes() {
    std::vector<uint8_t> out = m_bytes;
    if (m_used) out.push_back(static_cast<uint8_t>(m_current << (8 - m_used)));
    return out;
  }

 private:
  void Bit(uint32_t bit) {
    m_current = static_cast<uint8_t>(m_current << 1 | bit);
    if (++m_used == 8) {
      m_bytes.push_back(m_current);
      m_current = 0;
      m_used = 0;
    }
  }
  std::vector<uint8_t> m_bytes;
  uint8_t m_current = 0;
  int m_used = 0;
};

// A NAL unit with the emulation prevention an encoder writes.
std::vector<uint8_t> NalUnit(uint8_t header, const std::vector<uint8_t>& payload) {
  std::vector<uint8_t> nal{0, 0, 0, 1, header};
  int zeros = 0;
  for (uint8_t byte : payload) {
    if (zeros == 2 && byte <= 3) {
      nal.push_back(3);
      zeros = 0;
    }
    nal.push_back(byte);
    zeros = byte == 0 ? zeros + 1 : 0;
  }
  const std::vector<uint8_t> next{0, 0, 1, 0x68, 0xEE};  // a picture parameter set ends the unit
  nal.insert(nal.end(), next.begin(), next.end());
  return nal;
}

// An H.264 high-profile SPS of 1920x1080 (1088 cropped by 8 lines), with the
// given sample aspect ratio indicator and 25 frames per second.
std::vector<uint8_t> H264Sps(uint32_t aspectIdc) {
  BitWriter w;
  w.Bits(100, 8).Bits(0, 8).Bits(40, 8).Ue(0);   // profile, constraints, level, sps id
  w.Ue(1).Ue(0).Ue(0).Bits(0, 1).Bits(0, 1);     // 4:2:0, 8 bit, no scaling matrices
  w.Ue(0).Ue(0).Ue(4);                           // frame number, picture order type 0
  w.Ue(4).Bits(0, 1);                            // reference frames, gaps
  w.Ue(119).Ue(67).Bits(1, 1).Bits(1, 1);        // 120 x 68 macroblocks, frames only, direct 8x8
  w.Bits(1, 1).Ue(0).Ue(0).Ue(0).Ue(4);          // crop 4 x 2 lines at the bottom
  w.Bits(1, 1).Bits(1, 1).Bits(aspectIdc, 8);    // VUI with aspect ratio
  w.Bits(0, 1).Bits(0, 1).Bits(0, 1);            // overscan, signal type, chroma location
  w.Bits(1, 1).Bits(1, 32).Bits(50, 32).Bits(1, 1);  // timing: 50 field ticks a second
  w.Bits(1, 1);                                  // stop bit
  return NalUnit(0x67, w.Bytes());
}

struct VideoCase {
  const char* name;
  std::vector<uint8_t> stream;
  bool (*parse)(const uint8_t*, size_t, VideoFormat*);
  int32_t width, height, aspectX, aspectY;
  int64_t frameDuration;
};

TEST(VideoHeaders, ReadThePictureFormat) {
  const std::vector<uint8_t> mpeg2Sd = {0, 0, 1, 0xB3, 0x2D, 0x02, 0x40, 0x23, 0xFF, 0xFF, 0xE0, 0x18,
                                        0, 0, 1, 0xB5, 0x14, 0x8A, 0x00, 0x01, 0x00, 0x00, 0, 0, 1, 0xB8};
  const std::vector<VideoCase> cases = {
      {"MPEG-2 720x576 4:3 25 Hz", mpeg2Sd, ParseMpeg2SequenceHeader, 720, 576, 4, 3, 400000},
      {"H.264 1080 square pixels", H264Sps(1), ParseH264Sps, 1920, 1080, 16, 9, 400000},
      {"H.264 with 4:3 samples", H264Sps(14), ParseH264Sps, 1920, 1080, 64, 27, 400000},
  };
  for (const VideoCase& c : cases) {
    SCOPED_TRACE(c.name);
    VideoFormat format;
    ASSERT_TRUE(c.parse(c.stream.data(), c.stream.size(), &format));
    EXPECT_EQ(format.width, c.width);
    EXPECT_EQ(format.height, c.height);
    EXPECT_EQ(format.aspectX, c.aspectX);
    EXPECT_EQ(format.aspectY, c.aspectY);
    EXPECT_EQ(format.frameDuration, c.frameDuration);
  }
}

TEST(VideoHeaders, IncompleteOrMissingHeadersAreNotReported) {
  const std::vector<uint8_t> sps = H264Sps(1);
  const std::vector<uint8_t> cut(sps.begin(), sps.begin() + 9);
  const std::vector<uint8_t> noise(4096, 0xA5);
  const std::vector<uint8_t> zeroSize = {0, 0, 1, 0xB3, 0x00, 0x00, 0x00, 0x33, 0xFF, 0xFF, 0xE0, 0x18};
  VideoFormat format;
  EXPECT_FALSE(ParseH264Sps(cut.data(), cut.size(), &format));
  EXPECT_FALSE(ParseH264Sps(noise.data(), noise.size(), &format));
  EXPECT_FALSE(ParseHevcSps(noise.data(), noise.size(), &format));
  EXPECT_FALSE(ParseMpeg2SequenceHeader(zeroSize.data(), zeroSize.size(), &format));
}

struct AudioCase {
  const char* name;
  std::vector<uint8_t> stream;
  bool (*parse)(const uint8_t*, size_t, AudioFormat*);
  uint32_t sampleRate, channels;
};

// An MPEG-1 layer II frame of 192 kbit/s at 48 kHz is 576 bytes; the next
// header follows it.
std::vector<uint8_t> MpegAudioFrames(uint8_t modeByte, size_t junk) {
  std::vector<uint8_t> bytes(junk, 0x11);
  for (int i = 0; i < 2; ++i) {
    std::vector<uint8_t> frame(576, 0x55);
    frame[0] = 0xFF, frame[1] = 0xFD, frame[2] = 0xA4, frame[3] = modeByte;
    bytes.insert(bytes.end(), frame.begin(), frame.end());
  }
  bytes.resize(bytes.size() + 4, 0xFF);
  return bytes;
}

TEST(AudioHeaders, ReadRateAndChannels) {
  const std::vector<AudioCase> cases = {
      // 48 kHz, 384 kbit/s, 3/2 channels with LFE
      {"AC-3 5.1", {0x0B, 0x77, 0x12, 0x34, 0x1C, 0x40, 0xEB, 0x00}, ParseAc3Header, 48000, 6},
      // 44.1 kHz, 2/0
      {"AC-3 stereo", {0x0B, 0x77, 0x12, 0x34, 0x50, 0x40, 0x40, 0x00}, ParseAc3Header, 44100, 2},
      // bsid 16, 48 kHz, six blocks, 3/2 with LFE
      {"E-AC-3 5.1", {0x0B, 0x77, 0x00, 0xFF, 0x3F, 0x80, 0x00, 0x00}, ParseAc3Header, 48000, 6},
      {"MPEG-1 layer II stereo", MpegAudioFrames(0x04, 0), ParseMpegAudioHeader, 48000, 2},
      {"MPEG-1 layer II mono after junk", MpegAudioFrames(0xC4, 37), ParseMpegAudioHeader, 48000, 1},
      // AAC LC, 48 kHz (index 3), 2 channels
      {"ADTS", {0xFF, 0xF1, 0x4C, 0x80, 0x2E, 0x7F, 0xFC}, ParseAdtsHeader, 48000, 2},
      // LOAS/LATM, version 0, one program and layer; AudioSpecificConfig: LC, 48 kHz, 2 channels
      {"LATM", {0x56, 0xE0, 0x20, 0x20, 0x00, 0x11, 0x90, 0x00}, ParseLatmHeader, 48000, 2},
  };
  for (const AudioCase& c : cases) {
    SCOPED_TRACE(c.name);
    AudioFormat format;
    ASSERT_TRUE(c.parse(c.stream.data(), c.stream.size(), &format));
    EXPECT_EQ(format.sampleRate, c.sampleRate);
    EXPECT_EQ(format.channels, c.channels);
  }
}

TEST(AudioHeaders, LookAlikesWithoutAFollowingFrameAreNotTaken) {
  std::vector<uint8_t> bytes = MpegAudioFrames(0x04, 0);
  bytes[576] = 0x00;  // the second header is gone
  bytes.resize(900);
  AudioFormat format;
  EXPECT_FALSE(ParseMpegAudioHeader(bytes.data(), bytes.size(), &format));
  const std::vector<uint8_t> reservedRate = {0x0B, 0x77, 0x12, 0x34, 0xDC, 0x40, 0xEB, 0x00};
  EXPECT_FALSE(ParseAc3Header(reservedRate.data(), reservedRate.size(), &format));
}

}  // namespace
