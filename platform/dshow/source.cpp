#include "platform/dshow/source.h"

#include <algorithm>
#include <charconv>
#include <string>

#include "platform/dshow/errors.h"
#include "platform/dshow/source_stream.h"

CSource::CSource(const char* name, IUnknown* outer, REFCLSID clsid, HRESULT* phr, plat::ModuleRefCount* module)
    : CBaseFilter(name, outer, &m_cStateLock, clsid, module) {
  if (phr) *phr = S_OK;
}

CSource::~CSource() {
  // A graph stops its filters before releasing them; if one did not, the
  // streaming threads must still end before their pins go away.
  if (m_State != State_Stopped) CSource::Stop();
  std::vector<std::unique_ptr<CSourceStream>> pins;
  {
    CAutoLock lock(&m_cStateLock);
    pins.swap(m_paStreams);
  }
  pins.clear();
}

int CSource::GetPinCount() {
  CAutoLock lock(&m_cStateLock);
  return static_cast<int>(m_paStreams.size());
}

CBasePin* CSource::GetPin(int n) {
  CAutoLock lock(&m_cStateLock);
  if (n < 0 || n >= static_cast<int>(m_paStreams.size())) return nullptr;
  return m_paStreams[static_cast<std::size_t>(n)].get();
}

int CSource::FindPinNumber(IPin* iPin) {
  CAutoLock lock(&m_cStateLock);
  for (std::size_t i = 0; i < m_paStreams.size(); ++i) {
    if (static_cast<IPin*>(m_paStreams[i].get()) == iPin) return static_cast<int>(i);
  }
  return -1;
}

HRESULT CSource::FindPin(LPCWSTR Id, IPin** ppPin) {
  if (!ppPin) return E_POINTER;
  *ppPin = nullptr;
  if (!Id) return E_POINTER;
  // Only plain decimal digits name a pin.
  std::string digits;
  for (const WCHAR* p = Id; *p; ++p) {
    if (*p < u'0' || *p > u'9' || digits.size() > 9) return VFW_E_NOT_FOUND;
    digits.push_back(static_cast<char>(*p));
  }
  int number = 0;
  if (digits.empty() ||
      std::from_chars(digits.data(), digits.data() + digits.size(), number).ec != std::errc()) {
    return VFW_E_NOT_FOUND;
  }
  CBasePin* pin = GetPin(number - 1);
  if (!pin) return VFW_E_NOT_FOUND;
  *ppPin = pin;
  pin->AddRef();
  return S_OK;
}

HRESULT CSource::AddPin(CSourceStream* pStream) {
  if (!pStream) return E_POINTER;
  CAutoLock lock(&m_cStateLock);
  m_paStreams.emplace_back(pStream);
  IncrementPinVersion();
  return S_OK;
}

HRESULT CSource::RemovePin(CSourceStream* pStream) {
  CAutoLock lock(&m_cStateLock);
  auto it = std::find_if(m_paStreams.begin(), m_paStreams.end(),
                         [pStream](const auto& p) { return p.get() == pStream; });
  if (it == m_paStreams.end()) return S_FALSE;
  (void)it->release();
  m_paStreams.erase(it);
  IncrementPinVersion();
  return S_OK;
}
