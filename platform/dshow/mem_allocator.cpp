#include "platform/dshow/mem_allocator.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <new>

#include "platform/dshow/errors.h"

CMemAllocator::CMemAllocator(const char* name, IUnknown* outer, HRESULT* phr) : CUnknown(name, outer) {
  if (phr) *phr = S_OK;
}

CMemAllocator::~CMemAllocator() = default;

HRESULT CMemAllocator::CreateInstance(IMemAllocator** ppAllocator) {
  if (!ppAllocator) return E_POINTER;
  HRESULT hr = S_OK;
  auto* allocator = new (std::nothrow) CMemAllocator("CMemAllocator", nullptr, &hr);
  if (!allocator) {
    *ppAllocator = nullptr;
    return E_OUTOFMEMORY;
  }
  allocator->NonDelegatingAddRef();
  if (FAILED(hr)) {
    allocator->NonDelegatingRelease();
    *ppAllocator = nullptr;
    return hr;
  }
  *ppAllocator = allocator;
  return S_OK;
}

HRESULT CMemAllocator::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
  if (riid == IID_IMemAllocator) return GetInterface(static_cast<IMemAllocator*>(this), ppv);
  return CUnknown::NonDelegatingQueryInterface(riid, ppv);
}

HRESULT CMemAllocator::SetProperties(ALLOCATOR_PROPERTIES* pRequest, ALLOCATOR_PROPERTIES* pActual) {
  if (!pRequest || !pActual) return E_POINTER;
  std::lock_guard lock(mutex_);
  if (committed_) return VFW_E_ALREADY_COMMITTED;
  if (free_.size() < samples_.size()) return VFW_E_BUFFERS_OUTSTANDING;
  const LONG align = pRequest->cbAlign;
  if (align <= 0 || (align & (align - 1)) != 0) return VFW_E_BADALIGN;
  if (pRequest->cBuffers < 0 || pRequest->cbBuffer < 0 || pRequest->cbPrefix < 0) return E_INVALIDARG;
  // Round buffer plus prefix up to the alignment, in 64 bits.
  std::int64_t total = std::int64_t{pRequest->cbBuffer} + pRequest->cbPrefix;
  total = (total + align - 1) / align * align;
  if (total * std::max<std::int64_t>(pRequest->cBuffers, 1) + align > std::numeric_limits<LONG>::max()) {
    return E_OUTOFMEMORY;
  }
  count_ = pRequest->cBuffers;
  size_ = static_cast<LONG>(total - pRequest->cbPrefix);
  alignment_ = align;
  prefix_ = pRequest->cbPrefix;
  changed_ = true;
  *pActual = ALLOCATOR_PROPERTIES{count_, size_, alignment_, prefix_};
  return S_OK;
}

HRESULT CMemAllocator::GetProperties(ALLOCATOR_PROPERTIES* pProps) {
  if (!pProps) return E_POINTER;
  std::lock_guard lock(mutex_);
  *pProps = ALLOCATOR_PROPERTIES{count_, size_, alignment_, prefix_};
  return S_OK;
}

HRESULT CMemAllocator::allocLocked() {
  if (!changed_ && !samples_.empty()) return S_OK;
  samples_.clear();
  free_.clear();
  memory_.reset();
  const std::size_t stride = static_cast<std::size_t>(size_) + static_cast<std::size_t>(prefix_);
  const std::size_t bytes = stride * static_cast<std::size_t>(count_) + static_cast<std::size_t>(alignment_);
  memory_.reset(new (std::nothrow) BYTE[bytes]);
  if (!memory_) return E_OUTOFMEMORY;
  auto base = reinterpret_cast<std::uintptr_t>(memory_.get()) + static_cast<std::uintptr_t>(prefix_);
  const auto align = static_cast<std::uintptr_t>(alignment_);
  base = (base + align - 1) / align * align - static_cast<std::uintptr_t>(prefix_);
  auto* first = reinterpret_cast<BYTE*>(base);
  samples_.reserve(static_cast<std::size_t>(count_));
  for (LONG i = 0; i < count_; ++i) {
    BYTE* buffer = first + stride * static_cast<std::size_t>(i) + static_cast<std::size_t>(prefix_);
    samples_.push_back(std::make_unique<CMediaSample>(this, buffer, size_));
    free_.push_back(samples_.back().get());
  }
  changed_ = false;
  return S_OK;
}

HRESULT CMemAllocator::Commit() {
  {
    std::lock_guard lock(mutex_);
    if (committed_) return S_OK;
    if (decommitInProgress_) {
      // Samples are still out and the pool kept itself alive: take it back.
      decommitInProgress_ = false;
      committed_ = true;
      return S_OK;
    }
    if (count_ <= 0 || size_ <= 0) return VFW_E_SIZENOTSET;
    const HRESULT hr = allocLocked();
    if (FAILED(hr)) return hr;
    committed_ = true;
  }
  NonDelegatingAddRef();
  return S_OK;
}

HRESULT CMemAllocator::Decommit() {
  bool release = false;
  {
    std::lock_guard lock(mutex_);
    if (!committed_) return S_OK;
    committed_ = false;
    if (free_.size() < samples_.size()) {
      decommitInProgress_ = true;
    } else {
      release = true;
    }
  }
  // Waiters in GetBuffer see the decommit and give up.
  freed_.notify_all();
  if (release) NonDelegatingRelease();
  return S_OK;
}

HRESULT CMemAllocator::GetBuffer(IMediaSample** ppBuffer, REFERENCE_TIME*, REFERENCE_TIME*, DWORD dwFlags) {
  if (!ppBuffer) return E_POINTER;
  *ppBuffer = nullptr;
  std::unique_lock lock(mutex_);
  for (;;) {
    if (!committed_) return VFW_E_NOT_COMMITTED;
    if (!free_.empty()) break;
    if (dwFlags & AM_GBF_NOWAIT) return VFW_E_TIMEOUT;
    freed_.wait(lock);
  }
  CMediaSample* sample = free_.back();
  free_.pop_back();
  sample->takeFirstReference();
  *ppBuffer = sample;
  return S_OK;
}

HRESULT CMemAllocator::ReleaseBuffer(IMediaSample* pBuffer) {
  if (!pBuffer) return E_POINTER;
  bool release = false;
  {
    std::lock_guard lock(mutex_);
    auto* sample = static_cast<CMediaSample*>(pBuffer);
    if (sample->allocator_ != this) return E_INVALIDARG;
    free_.push_back(sample);
    if (decommitInProgress_ && free_.size() == samples_.size()) {
      decommitInProgress_ = false;
      release = true;
    }
  }
  freed_.notify_one();
  if (release) NonDelegatingRelease();
  return S_OK;
}
