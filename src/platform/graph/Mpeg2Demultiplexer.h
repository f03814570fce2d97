#pragma once
// The MPEG-2 demultiplexer: takes a transport stream in samples of any size
// (not necessarily packet-aligned) and delivers, on each output pin, the
// packets or the PES payload of the PIDs mapped to it. Pins are created and
// deleted by name at any time.
#include <map>
#include <memory>
#include <vector>

#include "platform/com/ComObject.h"
#include "platform/graph/BaseFilter.h"
#include "platform/graph/Mpeg2DemuxOutputPin.h"
#include "platform/graph/PesAssembler.h"
#include "psi/ts/TsSplitter.h"

constexpr CLSID CLSID_MPEG2Demultiplexer = MakeGuid("{AFB6C280-2C41-11D3-8A60-0000F81E0E4A}");

class CMpeg2Demultiplexer : public CBaseFilter, public IMpeg2Demultiplexer {
 public:
  using InterfaceMap = ::InterfaceMap<IBaseFilter, IMpeg2Demultiplexer>;
  CMpeg2Demultiplexer();
  virtual ~CMpeg2Demultiplexer() = default;

  int GetPinCount() override;
  CBasePin* GetPin(int index) override;

  HRESULT CreateOutputPin(const AM_MEDIA_TYPE* type, const char16_t* name, IPin** pin) override;
  HRESULT SetOutputPinMediaType(const char16_t* name, const AM_MEDIA_TYPE* type) override;
  HRESULT DeleteOutputPin(const char16_t* name) override;

  // Called by the output pins.
  HRESULT Map(CMpeg2DemuxOutputPin* pin, const std::vector<ULONG>& pids, MEDIA_SAMPLE_CONTENT content);
  HRESULT Unmap(CMpeg2DemuxOutputPin* pin, const std::vector<ULONG>& pids);
  std::vector<PID_MAP> MapOf(CMpeg2DemuxOutputPin* pin);

 private:
  struct Route {
    CMpeg2DemuxOutputPin* pin;
    MEDIA_SAMPLE_CONTENT content;
    PesAssembler pes;
  };

  class InputPin : public CBaseInputPin {
   public:
    explicit InputPin(CMpeg2Demultiplexer* demux) : CBaseInputPin(demux, &demux->m_lock, u"MPEG-2 Stream"), m_demux(demux) {}
    HRESULT CheckMediaType(const AM_MEDIA_TYPE* type) override;
    HRESULT Receive(IMediaSample* sample) override;
    HRESULT EndOfStream() override;
    HRESULT BeginFlush() override;
    HRESULT EndFlush() override;

   private:
    CMpeg2Demultiplexer* m_demux;
  };

  // Cuts packets out of the samples, keeping an incomplete tail.
  class Splitter : public CTsSplitter {
   public:
    explicit Splitter(CMpeg2Demultiplexer* demux) : m_demux(demux) {}

   protected:
    void OnPacket(const uint8_t* packet, uint32_t size) override { m_demux->RoutePacket(packet, size); }

   private:
    CMpeg2Demultiplexer* m_demux;
  };

  // Streaming thread, under m_routeLock.
  void RoutePacket(const uint8_t* packet, uint32_t size);
  void DeliverPackets();
  void Receive(const uint8_t* data, uint32_t size);
  // Stream control goes to every connected output pin.
  template <class Call>
  HRESULT ForEachOutput(Call call);
  CMpeg2DemuxOutputPin* FindOutput(std::u16string_view name);
  void DropRoutesOf(CMpeg2DemuxOutputPin* pin);

  InputPin m_input;
  std::vector<std::unique_ptr<CMpeg2DemuxOutputPin>> m_outputs;  // under m_lock
  // Deleted pins stay allocated: whoever still holds one holds the filter.
  std::vector<std::unique_ptr<CMpeg2DemuxOutputPin>> m_deleted;
  // Guards the routes and the streaming state; taken before m_lock, never after.
  std::mutex m_routeLock;
  std::multimap<uint16_t, Route> m_routes;
  std::map<CMpeg2DemuxOutputPin*, std::vector<uint8_t>> m_packets;  // per sample, for packet outputs
  Splitter m_splitter{this};
};
