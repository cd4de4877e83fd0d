// Enumerates a graph's filters as they were when the enumerator was made
// (or last Reset). When filters are added or removed, Next and Skip answer
// VFW_E_ENUM_OUT_OF_SYNC until Reset. Holds a reference to the graph.
#pragma once

#include <vector>

#include "platform/com/cunknown.h"
#include "platform/dshow/interfaces.h"

namespace plat {

// What the enumerator reads its filters from.
class FilterListSource {
 public:
  virtual std::vector<ComPtr<IBaseFilter>> filterSnapshot(LONG* version) = 0;
  virtual LONG filterVersion() = 0;

 protected:
  ~FilterListSource() = default;
};

}  // namespace plat

class CEnumFilters final : public CUnknown, public IEnumFilters {
 public:
  // `owner` is the graph's IUnknown, kept alive while the enumerator lives.
  static HRESULT Create(IUnknown* owner, plat::FilterListSource* source, IEnumFilters** ppEnum);

  DECLARE_IUNKNOWN
  HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

  // A null pcFetched is allowed only when asking for one filter.
  HRESULT Next(ULONG cFilters, IBaseFilter** ppFilter, ULONG* pcFetched) override;
  HRESULT Skip(ULONG cFilters) override;
  HRESULT Reset() override;
  HRESULT Clone(IEnumFilters** ppEnum) override;

 private:
  CEnumFilters(IUnknown* owner, plat::FilterListSource* source);
  bool outOfSync() const { return version_ != source_->filterVersion(); }

  ComPtr<IUnknown> owner_;
  plat::FilterListSource* source_;
  std::vector<ComPtr<IBaseFilter>> filters_;
  std::size_t position_ = 0;
  LONG version_ = 0;
};
