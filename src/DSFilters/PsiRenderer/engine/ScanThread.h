#pragma once
// The worker thread kind of the channel searches.
#include "DSFilters/PsiRenderer/engine/PsiReaderSimpleThread.h"

class CScanThread : public CPsiReaderSimpleThread {};
