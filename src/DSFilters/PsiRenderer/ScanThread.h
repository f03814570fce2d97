#pragma once
// The worker thread kind of the channel searches.
#include "DSFilters/PsiRenderer/PsiReaderSimpleThread.h"

class CScanThread : public CPsiReaderSimpleThread {};
