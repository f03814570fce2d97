#pragma once
// The media-graph interfaces: filters with pins, connected in a graph that
// moves between stopped, paused and running. Push model: a source's streaming
// thread delivers samples to the connected input pin, which processes them
// synchronously and may deliver them further downstream.
#include <string>
#include <vector>

#include "platform/com/ComPtr.h"
#include "platform/graph/MediaSample.h"
#include "platform/graph/MediaType.h"

constexpr HRESULT VFW_E_NOT_CONNECTED = static_cast<HRESULT>(0x80040209);
constexpr HRESULT VFW_E_ALREADY_CONNECTED = static_cast<HRESULT>(0x80040204);
constexpr HRESULT VFW_E_TYPE_NOT_ACCEPTED = static_cast<HRESULT>(0x8004022A);
constexpr HRESULT VFW_E_WRONG_STATE = static_cast<HRESULT>(0x80040227);
constexpr HRESULT VFW_E_NOT_FOUND = static_cast<HRESULT>(0x80040216);
constexpr HRESULT VFW_E_INVALID_DIRECTION = static_cast<HRESULT>(0x80040208);
// Success codes of a state query: a filter has not reached the state yet; a
// live source cannot deliver data while paused.
constexpr HRESULT VFW_S_STATE_INTERMEDIATE = static_cast<HRESULT>(0x00040237);
constexpr HRESULT VFW_S_CANT_CUE = static_cast<HRESULT>(0x00040268);

// Media time in 100 ns units.
using REFERENCE_TIME = int64_t;

enum PIN_DIRECTION { PINDIR_INPUT = 0, PINDIR_OUTPUT = 1 };
enum FILTER_STATE { State_Stopped = 0, State_Paused = 1, State_Running = 2 };

struct IBaseFilter;
struct IFilterGraph;

struct IPin : IUnknown {
  DTV_DECLARE_IID("{56A86891-0AD4-11CE-B03A-0020AF0BA770}");
  // On an output pin: connects to `receiver` with `type`.
  virtual HRESULT Connect(IPin* receiver, const AM_MEDIA_TYPE* type) = 0;
  // On an input pin: accepts a connection from `connector`.
  virtual HRESULT ReceiveConnection(IPin* connector, const AM_MEDIA_TYPE* type) = 0;
  virtual HRESULT Disconnect() = 0;
  virtual HRESULT ConnectedTo(IPin** pin) = 0;
  virtual HRESULT ConnectionMediaType(AM_MEDIA_TYPE* type) = 0;
  virtual HRESULT QueryFilter(IBaseFilter** filter) = 0;
  virtual HRESULT QueryDirection(PIN_DIRECTION* direction) = 0;
  virtual HRESULT QueryId(std::u16string* id) = 0;
  virtual HRESULT QueryAccept(const AM_MEDIA_TYPE* type) = 0;
  // The media types this pin offers for a connection.
  virtual HRESULT EnumMediaTypes(std::vector<AM_MEDIA_TYPE>* types) = 0;
  // Stream control, passed downstream by input pins: no sample follows an end
  // of stream until the next run; between begin and end of a flush samples are
  // refused; a new segment announces the times of the samples that follow.
  virtual HRESULT EndOfStream() = 0;
  virtual HRESULT BeginFlush() = 0;
  virtual HRESULT EndFlush() = 0;
  virtual HRESULT NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) = 0;
};

struct IMemInputPin : IUnknown {
  DTV_DECLARE_IID("{56A8689D-0AD4-11CE-B03A-0020AF0BA770}");
  virtual HRESULT Receive(IMediaSample* sample) = 0;
};

struct IBaseFilter : IUnknown {
  DTV_DECLARE_IID("{56A86895-0AD4-11CE-B03A-0020AF0BA770}");
  virtual HRESULT Stop() = 0;
  virtual HRESULT Pause() = 0;
  virtual HRESULT Run(int64_t start) = 0;
  virtual HRESULT GetState(uint32_t timeoutMs, FILTER_STATE* state) = 0;
  virtual HRESULT EnumPins(std::vector<ComPtr<IPin>>* pins) = 0;
  virtual HRESULT FindPin(const char16_t* id, IPin** pin) = 0;
  virtual HRESULT QueryFilterName(std::u16string* name) = 0;
  virtual HRESULT JoinFilterGraph(IFilterGraph* graph, const char16_t* name) = 0;
};

// Receives the graph events filters raise (end of stream, errors, ...).
struct IMediaEventSink : IUnknown {
  DTV_DECLARE_IID("{56A868A2-0AD4-11CE-B03A-0020AF0BA770}");
  virtual HRESULT Notify(LONG code, intptr_t param1, intptr_t param2) = 0;
};

struct IFilterGraph : IUnknown {
  DTV_DECLARE_IID("{56A8689F-0AD4-11CE-B03A-0020AF0BA770}");
  virtual HRESULT AddFilter(IBaseFilter* filter, const char16_t* name) = 0;
  virtual HRESULT RemoveFilter(IBaseFilter* filter) = 0;
  virtual HRESULT EnumFilters(std::vector<ComPtr<IBaseFilter>>* filters) = 0;
  virtual HRESULT FindFilterByName(const char16_t* name, IBaseFilter** filter) = 0;
  virtual HRESULT ConnectDirect(IPin* output, IPin* input, const AM_MEDIA_TYPE* type) = 0;
  virtual HRESULT Disconnect(IPin* pin) = 0;
};

// The time base samples are scheduled against, in 100 ns units.
struct IReferenceClock : IUnknown {
  DTV_DECLARE_IID("{56A86897-0AD4-11CE-B03A-0020AF0BA770}");
  virtual HRESULT GetTime(REFERENCE_TIME* time) = 0;
};

// The graph's reference clock, set for all its filters.
struct IMediaFilter : IUnknown {
  DTV_DECLARE_IID("{56A86899-0AD4-11CE-B03A-0020AF0BA770}");
  virtual HRESULT SetSyncSource(IReferenceClock* clock) = 0;
  virtual HRESULT GetSyncSource(IReferenceClock** clock) = 0;
};

// Moves the whole graph between states and tells which one it is in.
struct IMediaControl : IUnknown {
  DTV_DECLARE_IID("{56A868B1-0AD4-11CE-B03A-0020AF0BA770}");
  virtual HRESULT Run() = 0;
  virtual HRESULT Pause() = 0;
  virtual HRESULT Stop() = 0;
  // Waits at most `timeoutMs` for every filter to reach the graph's state;
  // VFW_S_STATE_INTERMEDIATE when one has not, VFW_S_CANT_CUE when a live
  // source is paused.
  virtual HRESULT GetState(uint32_t timeoutMs, FILTER_STATE* state) = 0;
};

constexpr LONG EC_COMPLETE = 0x01;
constexpr LONG EC_ERRORABORT = 0x03;
