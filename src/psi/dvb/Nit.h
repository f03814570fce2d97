#pragma once
// The network information table: one sub-table per network_id.
#include "psi/dvb/NitSubtable.h"
#include "psi/dvb/SubtableContainer.h"

class CNit : public CSubtableContainer<CNitSection, CNitSubtable> {};
