// The programme guide facet: foreground scans for the host, the background
// collection while the graph runs, and its events as callback type 6.
#include "Epg/KxEpgEvents.h"
#include "GraphManager/KxGraphManagerDigitalBase.h"
#include "GraphManager/TracedCall.h"

namespace {
static constexpr const char* kLogFile = "KxGraphManagerDigitalBase";
}  // namespace

HRESULT CKxGraphManagerDigitalBase::StartEpgScan() {
  if (m_lEpgState != KxEpgState_Idle) return E_FAIL;
  ComPtr<IEpg> pEpg;
  RETURN_IF_FAILED_AS("m_flts[KxFLTMpegPsiReader].QueryInterface(&pEpg)", PsiRenderer(&pEpg));
  RETURN_IF_FAILED(pEpg->StartEpgScan());
  m_lEpgState = KxEpgState_Foreground;
  return S_OK;
}

HRESULT CKxGraphManagerDigitalBase::StopEpgScan() {
  if (m_lEpgState != KxEpgState_Foreground) return E_FAIL;
  ComPtr<IEpg> pEpg;
  RETURN_IF_FAILED_AS("m_flts[KxFLTMpegPsiReader].QueryInterface(&pEpg)", PsiRenderer(&pEpg));
  RETURN_IF_FAILED(pEpg->StopEpgScan());
  m_lEpgState = KxEpgState_Idle;
  return S_OK;
}

HRESULT CKxGraphManagerDigitalBase::get_IsEpgScanCompleted(VARIANT_BOOL* completed) {
  if (!completed) return E_POINTER;
  ComPtr<IEpg> pEpg;
  if (FAILED(PsiRenderer(&pEpg))) return E_POINTER;
  return pEpg->get_IsEpgScanCompleted(completed);
}

HRESULT CKxGraphManagerDigitalBase::get_EpgEvents(IKxEpgEvents** events) {
  if (!events) return E_POINTER;
  *events = nullptr;
  ComPtr<IEpg> pEpg;
  RETURN_IF_FAILED_AS("m_flts[KxFLTMpegPsiReader].QueryInterface(&pEpg)", PsiRenderer(&pEpg));
  ComPtr<IEpgEvents> pEpgEvents;
  RETURN_IF_FAILED_AS("pEpg->get_EpgEvents(&pEpgEvents)", pEpg->get_EpgEvents(pEpgEvents.Put()));
  ComObject<CKxEpgEvents>* pKxEpgEvents = nullptr;
  RETURN_IF_FAILED_AS("CComObject<CKxEpgEvents>::CreateInstance(&pKxEpgEvents)", ComObject<CKxEpgEvents>::CreateInstance(&pKxEpgEvents));
  ComPtr<IKxEpgEvents> held(pKxEpgEvents);
  RETURN_IF_FAILED_AS("pKxEpgEvents->Add(pEpgEvents)", pKxEpgEvents->Add(pEpgEvents.Get()));
  *events = held.Detach();
  return S_OK;
}

HRESULT CKxGraphManagerDigitalBase::get_BackgroundEpg(VARIANT_BOOL* enabled) {
  if (!enabled) return E_POINTER;
  *enabled = ToVariantBool(m_lEpgState == KxEpgState_Background);
  return S_OK;
}

HRESULT CKxGraphManagerDigitalBase::put_BackgroundEpg(VARIANT_BOOL enable) {
  if (m_lEpgState == KxEpgState_Foreground) return E_FAIL;
  if (m_lEpgState == KxEpgState_Background) StopBackgroudEpg();
  m_lEpgState = enable != VARIANT_FALSE ? KxEpgState_Background : KxEpgState_Idle;
  return S_OK;
}

HRESULT CKxGraphManagerDigitalBase::StartBackgroudEpg() {
  if (m_lEpgState == KxEpgState_Foreground) return E_FAIL;
  ComPtr<IBackgroundEpg> pBackgroundEpg;
  RETURN_IF_FAILED_AS("m_flts[KxFLTMpegPsiReader].QueryInterface(&pBackgroundEpg)", PsiRenderer(&pBackgroundEpg));
  RETURN_IF_FAILED(pBackgroundEpg->StartBackgroundEpg(this));
  return S_OK;
}

HRESULT CKxGraphManagerDigitalBase::StopBackgroudEpg() {
  ComPtr<IBackgroundEpg> pBackgroundEpg;
  RETURN_IF_FAILED_AS("m_flts[KxFLTMpegPsiReader].QueryInterface(&pBackgroundEpg)", PsiRenderer(&pBackgroundEpg));
  RETURN_IF_FAILED(pBackgroundEpg->StopBackgroundEpg());
  return S_OK;
}

HRESULT CKxGraphManagerDigitalBase::OnEpgEvents(IEpgEvents* events) {
  // A host callback may delete the graph. The renderer whose thread this is
  // must then not be destroyed here, on that thread: its last reference is
  // left for a host thread to let go.
  ComPtr<IBaseFilter> renderer;
  PsiRenderer(&renderer);
  struct Retire {
    CKxGraphManagerDigitalBase* self;
    ComPtr<IBaseFilter>& renderer;
    ~Retire() {
      std::lock_guard lock(self->m_retiredLock);
      std::swap(self->m_pRetiredPsiRenderer, renderer);
    }
  } retire{this, renderer};
  BStr moniker;
  RETURN_IF_FAILED_AS("m_pVideoDevice->get_MonikerName(&bstrMonikerName)", m_pVideoDevice->get_MonikerName(moniker.Put()));
  ComObject<CKxEpgEvents>* pKxEpgEvents = nullptr;
  RETURN_IF_FAILED_AS("CComObject<CKxEpgEvents>::CreateInstance(&pKxEpgEvents)", ComObject<CKxEpgEvents>::CreateInstance(&pKxEpgEvents));
  ComPtr<IKxEpgEvents> held(pKxEpgEvents);
  RETURN_IF_FAILED_AS("pKxEpgEvents->Add(pEpgEvents)", pKxEpgEvents->Add(events));
  FireEpgEvents(std::u16string(moniker.View()), held.Get());
  return S_OK;
}
