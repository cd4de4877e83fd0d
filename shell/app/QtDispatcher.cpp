#include "shell/app/QtDispatcher.h"

#include <QCoreApplication>
#include <QEvent>
#include <QThread>

namespace {

const QEvent::Type kTaskEvent = static_cast<QEvent::Type>(QEvent::registerEventType());

class TaskEvent : public QEvent {
 public:
  explicit TaskEvent(std::function<void()> task) : QEvent(kTaskEvent), task_(std::move(task)) {}
  void run() { task_(); }

 private:
  std::function<void()> task_;
};

class TaskReceiver : public QObject {
 public:
  bool event(QEvent* e) override {
    if (e->type() != kTaskEvent) return QObject::event(e);
    static_cast<TaskEvent*>(e)->run();
    return true;
  }
};

}  // namespace

QtDispatcher::QtDispatcher() : receiver_(std::make_unique<TaskReceiver>()) {}

QtDispatcher::~QtDispatcher() = default;

void QtDispatcher::post(std::function<void()> task) {
  // postEvent is thread-safe and keeps the order of events of one priority.
  QCoreApplication::postEvent(receiver_.get(), new TaskEvent(std::move(task)));
}

bool QtDispatcher::isCurrentThread() const { return QThread::currentThread() == receiver_->thread(); }

std::shared_ptr<QtDispatcher> QtDispatcher::ui() {
  static const std::shared_ptr<QtDispatcher> dispatcher = std::make_shared<QtDispatcher>();
  return dispatcher;
}
