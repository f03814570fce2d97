#include "DSFilters/PsiRenderer/engine/EpgBase.h"

void CEpgBase::Reset() {
  m_pEvents->Clear();
  m_nCompleted = 0;
}
