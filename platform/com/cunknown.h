// The reference-counted base of every COM object we implement, with support
// for aggregation: an object made with an outer unknown forwards its public
// IUnknown to the outer object, and only its separate non-delegating unknown
// (handed to the outer object) reaches its own count and interfaces.
#pragma once

#include <atomic>
#include <string>

#include "platform/com/module_ref_count.h"
#include "platform/com/unknown.h"

struct INonDelegatingUnknown {
  virtual HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) = 0;
  virtual ULONG NonDelegatingAddRef() = 0;
  virtual ULONG NonDelegatingRelease() = 0;

 protected:
  ~INonDelegatingUnknown() = default;
};

// Stores `p` in *ppv and adds a reference through it (so through the owner
// when `p` is an interface of an aggregated object). E_POINTER for a null ppv.
HRESULT GetInterface(IUnknown* p, void** ppv);

class CUnknown : public INonDelegatingUnknown {
 public:
  // `outer` null: the object is its own owner. `module` (may be null) counts
  // this object among its module's live objects for as long as it exists.
  CUnknown(const char* name, IUnknown* outer, plat::ModuleRefCount* module = nullptr);
  virtual ~CUnknown();
  CUnknown(const CUnknown&) = delete;
  CUnknown& operator=(const CUnknown&) = delete;

  // Where the public IUnknown of every interface of this object goes.
  IUnknown* GetOwner() const { return owner_; }
  // This object's own IUnknown: its count and its interfaces, never the
  // outer object's. It is what an aggregating object keeps.
  IUnknown* GetNonDelegatingUnknown() { return &nonDelegating_; }
  const std::string& Name() const { return name_; }

  // Derived classes answer their own interfaces with GetInterface and pass
  // the rest here. Only IID_IUnknown is known at this level.
  HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override;
  ULONG NonDelegatingAddRef() override;
  // Deletes the object when the count reaches zero.
  ULONG NonDelegatingRelease() override;

 protected:
  ULONG RefCount() const { return ref_.load(std::memory_order_acquire); }

 private:
  // IUnknown whose slots call the non-delegating methods of its object.
  class NonDelegatingFace final : public IUnknown {
   public:
    explicit NonDelegatingFace(CUnknown& object) : object_(object) {}
    HRESULT QueryInterface(REFIID riid, void** ppv) override {
      return object_.NonDelegatingQueryInterface(riid, ppv);
    }
    ULONG AddRef() override { return object_.NonDelegatingAddRef(); }
    ULONG Release() override { return object_.NonDelegatingRelease(); }

   private:
    CUnknown& object_;
  };

  std::string name_;
  plat::ModuleRefCount* module_;
  std::atomic<ULONG> ref_{0};
  NonDelegatingFace nonDelegating_{*this};
  IUnknown* const owner_;
};

// In a class derived from CUnknown and from its interfaces: the IUnknown
// methods of every interface go to the owner.
#define DECLARE_IUNKNOWN                                               \
  HRESULT QueryInterface(REFIID riid, void** ppv) override {          \
    return GetOwner()->QueryInterface(riid, ppv);                     \
  }                                                                    \
  ULONG AddRef() override { return GetOwner()->AddRef(); }             \
  ULONG Release() override { return GetOwner()->Release(); }
