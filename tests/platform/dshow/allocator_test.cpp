#include <gtest/gtest.h>

#include <future>
#include <thread>

#include "platform/dshow/errors.h"
#include "platform/dshow/mem_allocator.h"

namespace {

ComPtr<IMemAllocator> makeAllocator() {
  ComPtr<IMemAllocator> a;
  EXPECT_EQ(CMemAllocator::CreateInstance(a.put()), S_OK);
  return a;
}

ALLOCATOR_PROPERTIES setProps(IMemAllocator* a, LONG count, LONG size, LONG align = 1, LONG prefix = 0) {
  ALLOCATOR_PROPERTIES request{count, size, align, prefix};
  ALLOCATOR_PROPERTIES actual{};
  EXPECT_EQ(a->SetProperties(&request, &actual), S_OK);
  return actual;
}

TEST(MemAllocator, RoundsBuffersToTheAlignmentAndAlignsThem) {
  auto a = makeAllocator();
  const ALLOCATOR_PROPERTIES actual = setProps(a.get(), 3, 100, 16, 4);
  EXPECT_EQ(actual.cBuffers, 3);
  EXPECT_EQ(actual.cbBuffer, 108);  // 100 + 4 rounded to 112, less the prefix
  EXPECT_EQ(actual.cbAlign, 16);
  EXPECT_EQ(actual.cbPrefix, 4);
  ASSERT_EQ(a->Commit(), S_OK);
  ComPtr<IMediaSample> samples[3];
  for (auto& s : samples) {
    ASSERT_EQ(a->GetBuffer(s.put(), nullptr, nullptr, 0), S_OK);
    BYTE* p = nullptr;
    s->GetPointer(&p);
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(p) % 16, 0u);
    EXPECT_EQ(s->GetSize(), 108);
  }
  for (auto& s : samples) s = nullptr;
  a->Decommit();
}

TEST(MemAllocator, RefusesBadPropertiesAndUseOutsideCommit) {
  auto a = makeAllocator();
  ALLOCATOR_PROPERTIES actual{};
  ALLOCATOR_PROPERTIES zeroAlign{1, 10, 0, 0};
  ALLOCATOR_PROPERTIES oddAlign{1, 10, 3, 0};
  EXPECT_EQ(a->SetProperties(&zeroAlign, &actual), VFW_E_BADALIGN);
  EXPECT_EQ(a->SetProperties(&oddAlign, &actual), VFW_E_BADALIGN);
  EXPECT_EQ(a->SetProperties(nullptr, &actual), E_POINTER);
  EXPECT_EQ(a->Commit(), VFW_E_SIZENOTSET);

  ComPtr<IMediaSample> s;
  setProps(a.get(), 1, 10);
  EXPECT_EQ(a->GetBuffer(s.put(), nullptr, nullptr, 0), VFW_E_NOT_COMMITTED);
  ASSERT_EQ(a->Commit(), S_OK);
  ALLOCATOR_PROPERTIES again{2, 10, 1, 0};
  EXPECT_EQ(a->SetProperties(&again, &actual), VFW_E_ALREADY_COMMITTED);

  // Decommitted with a sample still out: no new sizes until it returns.
  ASSERT_EQ(a->GetBuffer(s.put(), nullptr, nullptr, 0), S_OK);
  a->Decommit();
  EXPECT_EQ(a->SetProperties(&again, &actual), VFW_E_BUFFERS_OUTSTANDING);
  s = nullptr;
  EXPECT_EQ(a->SetProperties(&again, &actual), S_OK);
}

TEST(MemAllocator, SampleReturnsToThePoolOnItsLastRelease) {
  auto a = makeAllocator();
  setProps(a.get(), 1, 16);
  ASSERT_EQ(a->Commit(), S_OK);
  IMediaSample* s = nullptr;
  ASSERT_EQ(a->GetBuffer(&s, nullptr, nullptr, 0), S_OK);
  ComPtr<IMediaSample> other;
  EXPECT_EQ(a->GetBuffer(other.put(), nullptr, nullptr, AM_GBF_NOWAIT), VFW_E_TIMEOUT);
  s->AddRef();
  s->Release();
  EXPECT_EQ(a->GetBuffer(other.put(), nullptr, nullptr, AM_GBF_NOWAIT), VFW_E_TIMEOUT);
  s->Release();
  EXPECT_EQ(a->GetBuffer(other.put(), nullptr, nullptr, AM_GBF_NOWAIT), S_OK);
  EXPECT_EQ(other.get(), s);
  other = nullptr;
  a->Decommit();
}

TEST(MemAllocator, WaitingGetBufferGetsTheReleasedSample) {
  auto a = makeAllocator();
  setProps(a.get(), 1, 16);
  ASSERT_EQ(a->Commit(), S_OK);
  ComPtr<IMediaSample> first;
  ASSERT_EQ(a->GetBuffer(first.put(), nullptr, nullptr, 0), S_OK);
  IMediaSample* const expected = first.get();
  auto waiter = std::async(std::launch::async, [&] {
    ComPtr<IMediaSample> s;
    const HRESULT hr = a->GetBuffer(s.put(), nullptr, nullptr, 0);
    return std::make_pair(hr, s.get());
  });
  first = nullptr;
  const auto [hr, got] = waiter.get();
  EXPECT_EQ(hr, S_OK);
  EXPECT_EQ(got, expected);
  a->Decommit();
}

TEST(MemAllocator, DecommitReleasesAWaitingGetBuffer) {
  auto a = makeAllocator();
  setProps(a.get(), 1, 16);
  ASSERT_EQ(a->Commit(), S_OK);
  ComPtr<IMediaSample> held;
  ASSERT_EQ(a->GetBuffer(held.put(), nullptr, nullptr, 0), S_OK);
  auto waiter = std::async(std::launch::async, [&] {
    ComPtr<IMediaSample> s;
    return a->GetBuffer(s.put(), nullptr, nullptr, 0);
  });
  a->Decommit();
  EXPECT_EQ(waiter.get(), VFW_E_NOT_COMMITTED);
  // Committing again before the sample came back reuses the same pool.
  ASSERT_EQ(a->Commit(), S_OK);
  held = nullptr;
  EXPECT_EQ(a->GetBuffer(held.put(), nullptr, nullptr, AM_GBF_NOWAIT), S_OK);
  held = nullptr;
  a->Decommit();
}

TEST(MemAllocator, OutstandingSampleKeepsADecommittedPoolAlive) {
  IMediaSample* s = nullptr;
  {
    auto a = makeAllocator();
    setProps(a.get(), 1, 64);
    ASSERT_EQ(a->Commit(), S_OK);
    ASSERT_EQ(a->GetBuffer(&s, nullptr, nullptr, 0), S_OK);
    a->Decommit();
  }
  // The last outside reference is gone; the sample's memory must still be
  // valid (the sanitizer build checks) and its return frees the pool.
  BYTE* p = nullptr;
  s->GetPointer(&p);
  p[63] = 1;
  s->Release();
}

TEST(MediaSample, TimesFlagsAndLengthFollowTheirRules) {
  auto a = makeAllocator();
  setProps(a.get(), 1, 32);
  ASSERT_EQ(a->Commit(), S_OK);
  ComPtr<IMediaSample> s;
  ASSERT_EQ(a->GetBuffer(s.put(), nullptr, nullptr, 0), S_OK);

  REFERENCE_TIME start = 0, stop = 0;
  EXPECT_EQ(s->GetTime(&start, &stop), VFW_E_SAMPLE_TIME_NOT_SET);
  REFERENCE_TIME t0 = 100, t1 = 250;
  s->SetTime(&t0, nullptr);
  EXPECT_EQ(s->GetTime(&start, &stop), VFW_S_NO_STOP_TIME);
  EXPECT_EQ(start, 100);
  EXPECT_EQ(stop, 101);
  s->SetTime(&t0, &t1);
  EXPECT_EQ(s->GetTime(&start, &stop), S_OK);
  EXPECT_EQ(stop, 250);
  s->SetTime(nullptr, nullptr);
  EXPECT_EQ(s->GetTime(&start, &stop), VFW_E_SAMPLE_TIME_NOT_SET);

  EXPECT_EQ(s->SetActualDataLength(33), VFW_E_BUFFER_OVERFLOW);
  EXPECT_EQ(s->SetActualDataLength(-1), VFW_E_BUFFER_OVERFLOW);
  EXPECT_EQ(s->SetActualDataLength(12), S_OK);
  EXPECT_EQ(s->GetActualDataLength(), 12);

  LONGLONG m0 = 0, m1 = 0;
  EXPECT_EQ(s->GetMediaTime(&m0, &m1), VFW_E_MEDIA_TIME_NOT_SET);

  AM_MEDIA_TYPE* mt = nullptr;
  EXPECT_EQ(s->GetMediaType(&mt), S_FALSE);
  EXPECT_EQ(mt, nullptr);
  CMediaType changed(&MEDIATYPE_Video);
  changed.SetSubtype(&MEDIASUBTYPE_RGB32);
  s->SetMediaType(&changed);
  ASSERT_EQ(s->GetMediaType(&mt), S_OK);
  EXPECT_TRUE(CMediaType(*mt) == changed);
  DeleteMediaType(mt);

  s->SetSyncPoint(TRUE);
  s->SetDiscontinuity(TRUE);
  EXPECT_EQ(s->IsSyncPoint(), S_OK);

  // Back in the pool and out again: the per-use marks are gone.
  s = nullptr;
  ASSERT_EQ(a->GetBuffer(s.put(), nullptr, nullptr, 0), S_OK);
  EXPECT_EQ(s->IsSyncPoint(), S_FALSE);
  EXPECT_EQ(s->IsDiscontinuity(), S_FALSE);
  EXPECT_EQ(s->GetTime(&start, &stop), VFW_E_SAMPLE_TIME_NOT_SET);
  EXPECT_EQ(s->GetMediaType(&mt), S_FALSE);
  s = nullptr;
  a->Decommit();
}

}  // namespace
