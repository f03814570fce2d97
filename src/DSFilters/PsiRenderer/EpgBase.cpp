#include "DSFilters/PsiRenderer/EpgBase.h"

void CEpgBase::Reset() {
  m_pEvents->Clear();
  m_nCompleted = 0;
}
