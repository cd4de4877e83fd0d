#include <gtest/gtest.h>

#include "platform/com/cunknown.h"

namespace {

constexpr IID IID_IInner{0x6A1E0001, 0x1111, 0x4222, {0x83, 0x33, 0x44, 0x44, 0x55, 0x55, 0x66, 0x01}};
constexpr IID IID_IOuter{0x6A1E0002, 0x1111, 0x4222, {0x83, 0x33, 0x44, 0x44, 0x55, 0x55, 0x66, 0x02}};

struct IInner : IUnknown {
  virtual int InnerValue() = 0;

 protected:
  ~IInner() = default;
};

struct IOuter : IUnknown {
  virtual int OuterValue() = 0;

 protected:
  ~IOuter() = default;
};

// What a test can see after the objects are gone.
struct Trace {
  bool innerDestroyed = false;
  bool outerDestroyed = false;
};

class Inner : public CUnknown, public IInner {
 public:
  Inner(IUnknown* outer, plat::ModuleRefCount* module, Trace& trace)
      : CUnknown("Inner", outer, module), trace_(trace) {}
  ~Inner() override { trace_.innerDestroyed = true; }

  DECLARE_IUNKNOWN

  HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override {
    if (riid == IID_IInner) return GetInterface(static_cast<IInner*>(this), ppv);
    return CUnknown::NonDelegatingQueryInterface(riid, ppv);
  }
  int InnerValue() override { return 7; }
  ULONG count() const { return RefCount(); }

 private:
  Trace& trace_;
};

// Aggregates an Inner the way a class factory hands one out: the outer
// object keeps the inner's non-delegating IUnknown.
class Outer : public CUnknown, public IOuter {
 public:
  Outer(plat::ModuleRefCount* module, Trace& trace) : CUnknown("Outer", nullptr, module), trace_(trace) {
    inner_ = new Inner(GetOwner(), module, trace);
    EXPECT_EQ(inner_->NonDelegatingQueryInterface(IID_IUnknown, innerUnknown_.putVoid()), S_OK);
  }
  // Keeps an IInner pointer as aggregating objects do, giving back the
  // reference it takes on ourselves so that it forms no cycle. Needs a
  // reference held by the caller.
  void cacheInner() {
    EXPECT_EQ(innerUnknown_->QueryInterface(IID_IInner, reinterpret_cast<void**>(&cached_)), S_OK);
    Release();
  }
  ~Outer() override {
    if (cached_) {
      AddRef();  // give back the reference the cached pointer is about to drop
      cached_->Release();
    }
    innerUnknown_.reset();
    trace_.outerDestroyed = true;
  }

  DECLARE_IUNKNOWN

  HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override {
    if (riid == IID_IOuter) return GetInterface(static_cast<IOuter*>(this), ppv);
    if (riid == IID_IInner) return innerUnknown_->QueryInterface(riid, ppv);
    return CUnknown::NonDelegatingQueryInterface(riid, ppv);
  }
  int OuterValue() override { return 11; }

  ULONG count() const { return RefCount(); }
  Inner& inner() { return *inner_; }
  IUnknown* innerUnknown() { return innerUnknown_.get(); }

 private:
  Trace& trace_;
  Inner* inner_ = nullptr;
  ComPtr<IUnknown> innerUnknown_;
  IInner* cached_ = nullptr;
};

// Takes the first reference on a new object, as a class factory does.
template <class T>
ComPtr<IUnknown> firstReference(T* object) {
  ComPtr<IUnknown> unk;
  EXPECT_EQ(object->NonDelegatingQueryInterface(IID_IUnknown, unk.putVoid()), S_OK);
  return unk;
}

TEST(CUnknown, StandaloneObjectOwnsItselfAndDiesAtZero) {
  Trace trace;
  auto* inner = new Inner(nullptr, nullptr, trace);
  EXPECT_EQ(inner->GetOwner(), inner->GetNonDelegatingUnknown());
  EXPECT_EQ(inner->Name(), "Inner");
  ComPtr<IUnknown> unk = firstReference(inner);
  EXPECT_EQ(inner->count(), 1u);

  ComPtr<IInner> typed;
  ASSERT_EQ(unk.as(IID_IInner, typed), S_OK);
  EXPECT_EQ(inner->count(), 2u);
  EXPECT_EQ(typed->InnerValue(), 7);

  // Identity: IUnknown from any interface is the same pointer.
  ComPtr<IUnknown> again;
  ASSERT_EQ(typed.as(IID_IUnknown, again), S_OK);
  EXPECT_EQ(again.get(), unk.get());
  again.reset();

  EXPECT_EQ(typed->AddRef(), 3u);
  EXPECT_EQ(typed->Release(), 2u);
  unk.reset();
  EXPECT_FALSE(trace.innerDestroyed);
  typed.reset();
  EXPECT_TRUE(trace.innerDestroyed);
}

TEST(CUnknown, NullOutPointerAndUnknownInterface) {
  Trace trace;
  auto* inner = new Inner(nullptr, nullptr, trace);
  ComPtr<IUnknown> unk = firstReference(inner);

  EXPECT_EQ(unk->QueryInterface(IID_IInner, nullptr), E_POINTER);
  EXPECT_EQ(inner->NonDelegatingQueryInterface(IID_IUnknown, nullptr), E_POINTER);
  EXPECT_EQ(GetInterface(unk.get(), nullptr), E_POINTER);

  void* out = &trace;  // anything not null, to see it cleared
  EXPECT_EQ(unk->QueryInterface(IID_IOuter, &out), E_NOINTERFACE);
  EXPECT_EQ(out, nullptr);
  EXPECT_EQ(inner->count(), 1u);  // failed queries add no reference
}

TEST(CUnknown, AggregatedInnerForwardsToOuterAndOuterCountGovernsLifetime) {
  Trace trace;
  auto* outer = new Outer(nullptr, trace);
  ComPtr<IUnknown> outerUnk = firstReference(outer);
  Inner& inner = outer->inner();
  EXPECT_EQ(inner.GetOwner(), outerUnk.get());
  EXPECT_EQ(inner.count(), 1u);  // the outer's hold on the non-delegating unknown

  ComPtr<IInner> innerItf;
  ASSERT_EQ(outerUnk.as(IID_IInner, innerItf), S_OK);
  EXPECT_EQ(innerItf->InnerValue(), 7);
  EXPECT_EQ(outer->count(), 2u);
  EXPECT_EQ(inner.count(), 1u);

  // AddRef/Release through the inner's interface move the outer's count.
  innerItf->AddRef();
  EXPECT_EQ(outer->count(), 3u);
  EXPECT_EQ(inner.count(), 1u);
  innerItf->Release();
  EXPECT_EQ(outer->count(), 2u);

  // QueryInterface through the inner reaches the outer's interfaces and identity.
  ComPtr<IOuter> outerItf;
  ASSERT_EQ(innerItf.as(IID_IOuter, outerItf), S_OK);
  EXPECT_EQ(outerItf->OuterValue(), 11);
  ComPtr<IUnknown> identity;
  ASSERT_EQ(innerItf.as(IID_IUnknown, identity), S_OK);
  EXPECT_EQ(identity.get(), outerUnk.get());

  identity.reset();
  outerItf.reset();
  outerUnk.reset();
  EXPECT_FALSE(trace.outerDestroyed);  // the inner interface still holds the outer
  EXPECT_FALSE(trace.innerDestroyed);
  innerItf.reset();
  EXPECT_TRUE(trace.outerDestroyed);
  EXPECT_TRUE(trace.innerDestroyed);
}

TEST(CUnknown, InnerNonDelegatingUnknownIsSeparateFromTheOuter) {
  Trace trace;
  auto* outer = new Outer(nullptr, trace);
  ComPtr<IUnknown> outerUnk = firstReference(outer);
  IUnknown* innerOwn = outer->innerUnknown();
  ASSERT_NE(innerOwn, nullptr);
  EXPECT_NE(innerOwn, outerUnk.get());
  EXPECT_EQ(innerOwn, outer->inner().GetNonDelegatingUnknown());

  // Its own identity and interfaces only; its count, not the outer's.
  void* out = nullptr;
  EXPECT_EQ(innerOwn->QueryInterface(IID_IOuter, &out), E_NOINTERFACE);
  EXPECT_EQ(out, nullptr);
  ASSERT_EQ(innerOwn->QueryInterface(IID_IUnknown, &out), S_OK);
  EXPECT_EQ(out, innerOwn);
  EXPECT_EQ(outer->inner().count(), 2u);
  EXPECT_EQ(outer->count(), 1u);
  EXPECT_EQ(innerOwn->Release(), 1u);
}

TEST(CUnknown, OuterCachingAnInnerInterfaceIsDestroyedOnce) {
  // The destructor raises the count from zero and drops it again; the object
  // must not be deleted a second time (the sanitizer build would catch it).
  Trace trace;
  auto* outer = new Outer(nullptr, trace);
  ComPtr<IUnknown> outerUnk = firstReference(outer);
  outer->cacheInner();
  EXPECT_EQ(outer->count(), 1u);
  outerUnk.reset();
  EXPECT_TRUE(trace.outerDestroyed);
  EXPECT_TRUE(trace.innerDestroyed);
}

TEST(ModuleRefCount, CountsLiveObjectsPerModule) {
  plat::ModuleRefCount filterModule;
  plat::ModuleRefCount shellModule;
  Trace trace;
  EXPECT_EQ(filterModule.canUnloadNow(), S_OK);

  auto* outer = new Outer(&filterModule, trace);  // outer and inner
  ComPtr<IUnknown> outerUnk = firstReference(outer);
  ComPtr<IUnknown> other = firstReference(new Inner(nullptr, &shellModule, trace));
  EXPECT_EQ(filterModule.objects(), 2);
  EXPECT_EQ(shellModule.objects(), 1);
  EXPECT_EQ(filterModule.canUnloadNow(), S_FALSE);

  outerUnk.reset();
  EXPECT_EQ(filterModule.objects(), 0);
  EXPECT_EQ(filterModule.canUnloadNow(), S_OK);
  EXPECT_EQ(shellModule.canUnloadNow(), S_FALSE);
  other.reset();
  EXPECT_EQ(shellModule.objects(), 0);
}

TEST(ModuleRefCount, ServerLocksKeepTheModuleAndCannotGoNegative) {
  plat::ModuleRefCount module;
  EXPECT_EQ(module.lockServer(TRUE), S_OK);
  EXPECT_EQ(module.lockServer(TRUE), S_OK);
  EXPECT_EQ(module.canUnloadNow(), S_FALSE);
  EXPECT_EQ(module.lockServer(FALSE), S_OK);
  EXPECT_EQ(module.canUnloadNow(), S_FALSE);
  EXPECT_EQ(module.lockServer(FALSE), S_OK);
  EXPECT_EQ(module.canUnloadNow(), S_OK);
  EXPECT_EQ(module.lockServer(FALSE), E_UNEXPECTED);
  EXPECT_EQ(module.locks(), 0);
}

}  // namespace
