#pragma once
// The file writer: one input pin writing every sample it receives to a file.
// The file is written under a temporary name next to the target and renamed
// to it when the stream ends or the filter stops, so that a reader never
// takes a half-written file for a whole one. End of stream also raises
// EC_COMPLETE.
#include <cstdint>
#include <mutex>
#include <string>

#include "platform/graph/BaseFilter.h"
#include "platform/graph/FileSink.h"

constexpr CLSID CLSID_FileWriter = MakeGuid("{8596E5F0-0DA5-11D0-BD21-00A0C911CE86}");

class CFileWriterFilter : public CBaseFilter, public IFileSinkFilter {
 public:
  using InterfaceMap = ::InterfaceMap<IBaseFilter, IFileSinkFilter>;
  CFileWriterFilter();
  virtual ~CFileWriterFilter();

  HRESULT Stop() override;
  HRESULT Pause() override;
  HRESULT Run(int64_t start) override;
  int GetPinCount() override { return 1; }
  CBasePin* GetPin(int index) override { return index == 0 ? &m_input : nullptr; }

  HRESULT SetFileName(const char16_t* fileName, const AM_MEDIA_TYPE* type) override;
  HRESULT GetCurFile(std::u16string* fileName, AM_MEDIA_TYPE* type) override;

  // Bytes written since the file was opened.
  uint64_t BytesWritten() const;

 private:
  class InputPin : public CBaseInputPin {
   public:
    explicit InputPin(CFileWriterFilter* filter) : CBaseInputPin(filter, &filter->m_lock, u"in"), m_owner(filter) {}
    HRESULT CheckMediaType(const AM_MEDIA_TYPE*) override { return S_OK; }
    HRESULT Receive(IMediaSample* sample) override;
    HRESULT EndOfStream() override;

   private:
    CFileWriterFilter* m_owner;
  };

  HRESULT Open();
  HRESULT Write(IMediaSample* sample);
  // Flushes, closes and renames; false when any of it failed.
  bool Close();

  InputPin m_input;
  mutable std::mutex m_fileMutex;  // the streaming thread writes while another stops
  std::string m_path;
  AM_MEDIA_TYPE m_type;
  int m_fd = -1;
  uint64_t m_written = 0;
  bool m_failed = false;  // a write failed: the rest of the stream is not written
};
