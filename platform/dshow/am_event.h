// An event object in the shape the graph classes use: auto-reset unless
// asked for manual reset, waits in milliseconds with INFINITE for no limit.
#pragma once

#include "platform/kernel/event.h"
#include "platform/kernel/handle.h"

class CAMEvent {
 public:
  explicit CAMEvent(BOOL fManualReset = FALSE)
      : event_(plat::makeEvent(fManualReset ? plat::EventReset::Manual : plat::EventReset::Automatic)) {}
  CAMEvent(const CAMEvent&) = delete;
  CAMEvent& operator=(const CAMEvent&) = delete;

  void Set() { event_->set(); }
  void Reset() { event_->reset(); }
  BOOL Wait(DWORD dwTimeout = INFINITE) { return event_->waitMs(dwTimeout) ? TRUE : FALSE; }
  // Polls without blocking; an auto-reset event is consumed when it was set.
  BOOL Check() { return Wait(0); }
  // Manual-reset only: whether it is set, without consuming it.
  bool IsSet() const { return event_->isSet(); }

  const plat::EventHandle& Handle() const { return event_; }

 private:
  plat::EventHandle event_;
};
