// The process-wide table of window handles. A host registers a receiver
// bound to a dispatcher and gets a handle; anyone may then post or send it
// messages, which run on the dispatcher's thread.
//
// Handles are never reused within a process, so a stale handle simply
// stops being a window. Posting to a handle that is not a window fails and
// the table touches nothing: the sender still owns whatever lParam names
// (a global text block, for instance). A message still queued when its
// window is unregistered, or whose task its dispatcher discards, is dropped
// undelivered: the table frees nothing, but hands it to the window's
// `undelivered` handler when one was registered, so a receiver can free
// what such a message carries.
//
// Unregister a window on its receiving thread: a handler already running
// on another thread is not waited for.
//
// Sending (sendMessage) from another thread blocks the sender until the
// receiving thread runs the message. That thread runs it from its
// dispatcher's loop or, earlier, from any platform wait it is blocked in
// meanwhile (events, a streaming thread's commands and exit, graph events
// and stops, its own sends; sent_messages.h): a window's thread that waits
// for a streaming thread never deadlocks with that thread's send, and two
// threads sending to each other's windows both get their answers. A lock
// is another matter: never hold across a send a lock that the receiving
// thread may wait for, as a plain lock wait delivers nothing.
#pragma once

#include <functional>
#include <memory>

#include "platform/win/dispatcher.h"
#include "platform/win/types.h"

namespace plat {

struct Message {
  HWND hwnd;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
};

using MessageHandler = std::function<LRESULT(const Message&)>;

// `undelivered` (optional) gets each posted message that never reaches
// `handler`, on whichever thread drops it.
HWND registerWindow(std::shared_ptr<MessageDispatcher> dispatcher, MessageHandler handler,
                    MessageHandler undelivered = {});
// False when the handle was not a window.
bool unregisterWindow(HWND hwnd);
bool isWindow(HWND hwnd);

// Queues the message behind those posted before it; false when the handle
// is not a window.
bool postMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// Runs the handler on the receiving thread and returns its result; on that
// thread itself the handler runs directly. Returns 0 when the handle is not
// a window, the window goes away before the message runs or its dispatcher
// discards it. Blocks until the receiving thread handles the message, and
// meanwhile runs the messages sent to the sender's own windows.
LRESULT sendMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// A registered window for the lifetime of the object.
class WindowRegistration {
 public:
  WindowRegistration(std::shared_ptr<MessageDispatcher> dispatcher, MessageHandler handler,
                     MessageHandler undelivered = {})
      : hwnd_(registerWindow(std::move(dispatcher), std::move(handler), std::move(undelivered))) {}
  ~WindowRegistration() { unregisterWindow(hwnd_); }
  WindowRegistration(const WindowRegistration&) = delete;
  WindowRegistration& operator=(const WindowRegistration&) = delete;

  HWND hwnd() const { return hwnd_; }

 private:
  HWND hwnd_;
};

}  // namespace plat

inline BOOL PostMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return plat::postMessage(hwnd, message, wParam, lParam) ? TRUE : FALSE;
}
inline LRESULT SendMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return plat::sendMessage(hwnd, message, wParam, lParam);
}
inline BOOL IsWindow(HWND hwnd) { return plat::isWindow(hwnd) ? TRUE : FALSE; }
