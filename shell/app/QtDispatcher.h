// The platform's message dispatcher on the Qt user-interface thread: tasks
// posted from any thread run there, in the order they were posted, as
// posted events of one receiver object living on that thread.
#pragma once
#include <QObject>
#include <functional>
#include <memory>

#include "platform/win/dispatcher.h"

class QtDispatcher : public plat::MessageDispatcher {
 public:
  // Binds to the thread that creates it (the UI thread).
  QtDispatcher();
  ~QtDispatcher() override;

  void post(std::function<void()> task) override;
  bool isCurrentThread() const override;

  // The process's one dispatcher for the UI thread; created on first use,
  // which must be on that thread.
  static std::shared_ptr<QtDispatcher> ui();

 private:
  // Deleted with the dispatcher; tasks still queued for it are dropped by Qt.
  std::unique_ptr<QObject> receiver_;
};
