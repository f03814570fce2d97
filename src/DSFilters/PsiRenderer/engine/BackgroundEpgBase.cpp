#include "DSFilters/PsiRenderer/engine/BackgroundEpgBase.h"

#include "logging/LogFile.h"

void CBackgroundEpgBase::Deliver(const char* message) {
  IEpgEventsSink* sink = m_pSink.load();
  if (sink && sink->DeliverNew(*m_pEvents)) log(6, "%s", message);
}
