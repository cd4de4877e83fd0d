// A worker thread driven by commands: a caller hands it one request at a
// time (CallWorker) and waits for its reply; the worker takes requests with
// GetRequest, or polls with CheckRequest between pieces of work, and answers
// with Reply. A request stays visible to CheckRequest until it is answered.
// The caller's waits (for a reply, for the thread's end) run the messages
// the worker sends to the caller's windows meanwhile, so a window's thread
// may drive a worker that sends to it.
#pragma once

#include <thread>

#include "platform/dshow/am_event.h"
#include "platform/dshow/crit_sec.h"

class CAMThread {
 public:
  CAMThread();
  // Joins the thread; it must have been told to end.
  virtual ~CAMThread();
  CAMThread(const CAMThread&) = delete;
  CAMThread& operator=(const CAMThread&) = delete;

  // Starts the thread running ThreadProc; false when one already runs or
  // the thread cannot be started.
  BOOL Create();
  // Sends a request and waits for the worker's reply. Callers are
  // serialised, so each request gets its own reply.
  DWORD CallWorker(DWORD dwParam);
  // Waits for the thread to end and forgets it.
  void Close();
  BOOL ThreadExists() const { return thread_.joinable() ? TRUE : FALSE; }

  CCritSec m_AccessLock;  // serialises CallWorker callers
  CCritSec m_WorkerLock;  // for the worker's own state

 protected:
  virtual DWORD ThreadProc() = 0;

  // Worker side.
  DWORD GetRequest();
  BOOL CheckRequest(DWORD* pParam);
  void Reply(DWORD dw);

 private:
  std::thread thread_;
  plat::EventHandle exited_;  // set when ThreadProc has returned
  CAMEvent eventSend_{TRUE};  // set while a request awaits its reply
  CAMEvent eventComplete_;    // the reply is ready
  DWORD param_ = 0;
  DWORD returnVal_ = 0;
};
