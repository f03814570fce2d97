#include "GraphManager/GraphSettings.h"

#include <array>
#include <string>

#include "logging/LogFile.h"
#include "platform/com/Utf.h"

int64_t CGraphSettings::Number(LONG id) const {
  const auto it = m_values.find(id);
  if (it == m_values.end()) return 0;
  const int64_t* number = std::get_if<int64_t>(&it->second);
  return number ? *number : 0;
}

std::u16string CGraphSettings::Text(LONG id) const {
  const auto it = m_values.find(id);
  if (it == m_values.end()) return {};
  const std::u16string* text = std::get_if<std::u16string>(&it->second);
  return text ? *text : std::u16string();
}

namespace {
const char* GraphTypeName(int64_t type) {
  static constexpr std::array<const char*, 7> kNames{"Playback", "Capture", "Mpeg", "Avi", "Dv", "Wav", "Wmv"};
  return type >= 1 && type <= 7 ? kNames[static_cast<size_t>(type - 1)] : "Unknown";
}

const char* OutputFormatName(int64_t format) {
  static constexpr std::array<const char*, 19> kNames{
      "DVD",     "SVCD",     "VCD",      "Mpeg2",   "Mpeg1",   "TS",   "Single TS", "VexaDigital", "BD TS",     "DVD TS",
      "SVCD TS", "VCD TS",   "Mpeg2 TS", "Mpeg1 TS", "HDV1",   "HDV2", "HDV1 TS",   "HDV2 TS",     "BD TS SESF"};
  return format >= 1 && format <= 19 ? kNames[static_cast<size_t>(format - 1)] : nullptr;
}

int AsInt(const CGraphSettings& settings, LONG id) { return static_cast<int>(settings.Number(id)); }
}  // namespace

// The encoding settings as the output properties store them: resolution
// 6 x 7, aspect ratio 8, bitrate 9, frame type 11, deinterlace 12 and 13,
// coding quality 14, audio format 15 to 18.
void LogGraphSettings(const CGraphSettings& s) {
  const std::string rule(69, '-');
  log(1, "%s", rule.c_str());
  const int64_t type = s.Number(KxGraphSetting_GraphType);
  const char* format = s.Has(KxGraphSetting_OutputFormat) ? OutputFormatName(s.Number(KxGraphSetting_OutputFormat))
                                                          : nullptr;
  if (format)
    log(1, " Graph Type:     %s (%s)", GraphTypeName(type), format);
  else
    log(1, " Graph Type:     %s", GraphTypeName(type));
  log(1, " Resolution:     %d x %d", AsInt(s, 6), AsInt(s, 7));
  log(1, " Aspect Ratio:   %d", AsInt(s, 8));
  log(1, " Video Bitrate:  %d", AsInt(s, 9));
  const int64_t duration = s.Number(KxGraphSetting_FrameDuration);
  log(1, " Frame Duration: %lld (%.2f fps)", static_cast<long long>(duration),
      duration > 0 ? 10000000.0 / static_cast<double>(duration) : 0.0);
  log(1, " Frame Type:     %d", AsInt(s, 11));
  log(1, " Deinterlace:    %d, %d", AsInt(s, 12), AsInt(s, 13));
  log(1, " Coding Quality: %d", AsInt(s, 14));
  log(1, " Audio Format:   %d, %d, %d, %d", AsInt(s, 15), AsInt(s, 16), AsInt(s, 17), AsInt(s, 18));
  log(1, " File Path: %s", Utf16ToUtf8(s.Text(KxGraphSetting_CaptureFilePath)).c_str());
  log(1, "%s", rule.c_str());
}
