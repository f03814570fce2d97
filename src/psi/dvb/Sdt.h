#pragma once
// The service description table: one sub-table per (original_network_id, transport_stream_id).
#include "psi/dvb/SdtSubtable.h"
#include "psi/dvb/SubtableContainer.h"

class CSdt : public CSubtableContainer<CSdtSection, CSdtSubtable> {};
