#include "platform/dshow/am_thread.h"

#include <system_error>

CAMThread::CAMThread() = default;

CAMThread::~CAMThread() { Close(); }

BOOL CAMThread::Create() {
  CAutoLock lock(&m_AccessLock);
  if (thread_.joinable()) return FALSE;
  // The thread's own hold on its exit event: the object may be gone when
  // ThreadProc returns.
  auto exited = plat::makeEvent(plat::EventReset::Manual);
  try {
    thread_ = std::thread([this, exited] {
      ThreadProc();
      exited->set();
    });
    exited_ = std::move(exited);
  } catch (const std::system_error&) {
    return FALSE;
  }
  return TRUE;
}

DWORD CAMThread::CallWorker(DWORD dwParam) {
  CAutoLock lock(&m_AccessLock);
  if (!thread_.joinable()) return static_cast<DWORD>(E_FAIL);
  param_ = dwParam;
  eventSend_.Set();
  eventComplete_.Wait();
  return returnVal_;
}

void CAMThread::Close() {
  if (!thread_.joinable()) return;
  if (thread_.get_id() == std::this_thread::get_id()) {
    // The worker is tearing down its own object: it cannot wait for itself.
    thread_.detach();
  } else {
    // Waiting on the event, not in join, lets this thread answer messages
    // the worker sends to its windows on the way out.
    exited_->wait();
    thread_.join();
  }
}

DWORD CAMThread::GetRequest() {
  // Manual reset: the request stays visible to CheckRequest until Reply.
  eventSend_.Wait(INFINITE);
  return param_;
}

BOOL CAMThread::CheckRequest(DWORD* pParam) {
  if (!eventSend_.IsSet()) return FALSE;
  if (pParam) *pParam = param_;
  return TRUE;
}

void CAMThread::Reply(DWORD dw) {
  returnVal_ = dw;
  // Reset before signalling, or the next request could be set and then
  // wiped out by this reset.
  eventSend_.Reset();
  eventComplete_.Set();
}
