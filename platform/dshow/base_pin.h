// The base of every pin: its connection, the media type negotiation and the
// state calls its filter passes on. A pin is part of its filter: its
// reference count is the filter's, so a pin handed out keeps the filter
// alive, and the filter destroys its pins.
#pragma once

#include <atomic>
#include <string>

#include "platform/com/cunknown.h"
#include "platform/dshow/crit_sec.h"
#include "platform/dshow/interfaces.h"
#include "platform/dshow/media_type.h"

class CBaseFilter;

class CBasePin : public CUnknown, public IPin {
 public:
  // `lock` guards the connection and media type (usually the filter lock).
  CBasePin(const char* objectName, CBaseFilter* filter, CCritSec* lock, HRESULT* phr, LPCWSTR name,
           PIN_DIRECTION dir);
  ~CBasePin() override;

  DECLARE_IUNKNOWN
  HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override;
  // Counted on the filter.
  ULONG NonDelegatingAddRef() override;
  ULONG NonDelegatingRelease() override;

  // IPin. Connect and ReceiveConnection need a stopped filter.
  HRESULT Connect(IPin* pReceivePin, const AM_MEDIA_TYPE* pmt) override;
  HRESULT ReceiveConnection(IPin* pConnector, const AM_MEDIA_TYPE* pmt) override;
  // S_FALSE when not connected; VFW_E_NOT_STOPPED while active.
  HRESULT Disconnect() override;
  HRESULT ConnectedTo(IPin** pPin) override;
  HRESULT ConnectionMediaType(AM_MEDIA_TYPE* pmt) override;
  HRESULT QueryPinInfo(PIN_INFO* pInfo) override;
  HRESULT QueryDirection(PIN_DIRECTION* pPinDir) override;
  // The pin's name, allocated with CoTaskMemAlloc.
  HRESULT QueryId(LPWSTR* Id) override;
  HRESULT QueryAccept(const AM_MEDIA_TYPE* pmt) override;
  HRESULT EnumMediaTypes(IEnumMediaTypes** ppEnum) override;
  HRESULT QueryInternalConnections(IPin** apPin, ULONG* nPin) override;
  HRESULT EndOfStream() override;
  HRESULT NewSegment(REFERENCE_TIME tStart, REFERENCE_TIME tStop, double dRate) override;

  // What a derived pin decides. CheckMediaType: S_OK accepts the type.
  virtual HRESULT CheckMediaType(const CMediaType* pmt) = 0;
  // Stores the agreed type.
  virtual HRESULT SetMediaType(const CMediaType* pmt);
  // Refuses a peer of the same direction.
  virtual HRESULT CheckConnect(IPin* pPin);
  // Undoes what CheckConnect, SetMediaType and CompleteConnect set up.
  virtual HRESULT BreakConnect();
  virtual HRESULT CompleteConnect(IPin* pReceivePin);
  // The preferred types in order: S_OK for a type, VFW_S_NO_MORE_ITEMS past
  // the last one. The base pin has none.
  virtual HRESULT GetMediaType(int iPosition, CMediaType* pMediaType);

  // Called by the filter on its state changes (connected pins only).
  virtual HRESULT Active();
  virtual HRESULT Inactive();
  virtual HRESULT Run(REFERENCE_TIME tStart);

  BOOL IsConnected() const { return m_Connected ? TRUE : FALSE; }
  IPin* GetConnected() const { return m_Connected.get(); }
  BOOL IsStopped() const;
  const CMediaType& CurrentMediaType() const { return m_mt; }
  const std::u16string& Name() const { return m_pName; }

  // Lets media type enumerators notice that the offered types changed.
  LONG GetMediaTypeVersion() const { return m_TypeVersion.load(); }
  void IncrementTypeVersion() { ++m_TypeVersion; }

  REFERENCE_TIME CurrentStartTime() const { return m_tStart; }
  REFERENCE_TIME CurrentStopTime() const { return m_tStop; }
  double CurrentRate() const { return m_dRate; }

 protected:
  // Tries the peer's types and then ours (or ours first when
  // m_bTryMyTypesFirst), each filtered by a partial `pmt`.
  HRESULT AgreeMediaType(IPin* pReceivePin, const CMediaType* pmt);
  HRESULT TryMediaTypes(IPin* pReceivePin, const CMediaType* pmt, IEnumMediaTypes* pEnum);
  // One full type: our check, then the peer's ReceiveConnection, then
  // CompleteConnect; any failure leaves the pin unconnected.
  HRESULT AttemptConnection(IPin* pReceivePin, const CMediaType* pmt);
  HRESULT DisconnectInternal();

  std::u16string m_pName;
  ComPtr<IPin> m_Connected;
  PIN_DIRECTION m_dir;
  CCritSec* m_pLock;
  std::atomic<bool> m_bRunTimeError{false};
  bool m_bCanReconnectWhenActive = false;
  bool m_bTryMyTypesFirst = false;
  CBaseFilter* m_pFilter;
  std::atomic<LONG> m_TypeVersion{1};
  CMediaType m_mt;
  REFERENCE_TIME m_tStart = 0;
  REFERENCE_TIME m_tStop = 0;
  double m_dRate = 1.0;
};
