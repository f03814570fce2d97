#pragma once
// A DVB event information table: one sub-table per service
// (original_network_id, transport_stream_id, service_id).
#include "psi/dvb/EitDvbSubtable.h"
#include "psi/dvb/SubtableContainer.h"

class CEitDvb : public CSubtableContainer<CEitDvbSection, CEitDvbSubtable> {};
