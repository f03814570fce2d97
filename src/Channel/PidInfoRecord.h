#pragma once
// Conversion between a channel's PID records and PID information objects.
#include "Channel/PidRecord.h"
#include "interfaces/IKxPidInfo.h"

// Creates the PID information object of the record's kind, filled from it.
HRESULT CreatePidInfo(const ChannelPidRecord& record, IKxPidInfo** ppPidInfo);

// Reads a PID information object of any implementation into a record: the
// language and AC-3 flag of audio and the teletext values only when the object
// offers them (else an empty language, false and -1).
HRESULT ReadPidInfo(IKxPidInfo* pPidInfo, ChannelPidRecord* pRecord);
