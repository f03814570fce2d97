#pragma once
// Base of the stand-in decoders: one compressed input, one output whose
// connection media type tells the format as soon as the stream's headers have
// been read. Samples pass through unchanged (nothing is decoded), so the
// renderer behind sees the stream flow.
#include <vector>

#include "platform/com/ComObject.h"
#include "platform/graph/BaseFilter.h"

class CNullDecoder : public CBaseFilter {
 public:
  CNullDecoder(std::u16string name, const CLSID& clsid, AM_MEDIA_TYPE initialOutput);

  int GetPinCount() override { return 2; }
  CBasePin* GetPin(int index) override;

  // The output's media type; the format block is filled once headers were read.
  AM_MEDIA_TYPE OutputType();

 protected:
  virtual bool AcceptsInput(const AM_MEDIA_TYPE& type) = 0;
  // Reads the format from the stream so far into `output`; false until it can.
  virtual bool ReadFormat(const AM_MEDIA_TYPE& input, const std::vector<uint8_t>& stream, AM_MEDIA_TYPE& output) = 0;

 private:
  class InputPin : public CBaseInputPin {
   public:
    explicit InputPin(CNullDecoder* decoder) : CBaseInputPin(decoder, &decoder->m_lock, u"In"), m_decoder(decoder) {}
    HRESULT CheckMediaType(const AM_MEDIA_TYPE* type) override;
    HRESULT Receive(IMediaSample* sample) override;
    HRESULT EndOfStream() override;
    HRESULT BeginFlush() override;
    HRESULT EndFlush() override;
    HRESULT NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) override;

   private:
    CNullDecoder* m_decoder;
  };
  class OutputPin : public CBaseOutputPin {
   public:
    explicit OutputPin(CNullDecoder* decoder) : CBaseOutputPin(decoder, &decoder->m_lock, u"Out"), m_decoder(decoder) {}
    HRESULT CheckMediaType(const AM_MEDIA_TYPE* type) override;
    std::vector<AM_MEDIA_TYPE> OfferedMediaTypes() override { return {m_decoder->OutputType()}; }
    // The format became known: the connection now carries it.
    void ChangeConnectionType(const AM_MEDIA_TYPE& type);

   private:
    CNullDecoder* m_decoder;
  };

  void Inspect(const uint8_t* data, size_t size);

  InputPin m_input;
  OutputPin m_output;
  AM_MEDIA_TYPE m_outputType;            // under m_lock
  bool m_formatKnown = false;            // streaming thread
  std::vector<uint8_t> m_stream;         // streaming thread: input until the format is known
};
