// Events behind opaque handles, for the places where an event crosses the
// COM boundary as a plain value (the shell creates the end event, the
// filter signals it). A closed handle stops naming the event, but a thread
// already waiting on it keeps the event alive until its wait ends.
#pragma once

#include "platform/kernel/event.h"
#include "platform/kernel/handle.h"

// Only unnamed events exist here: a name fails with ERROR_NOT_SUPPORTED.
// Success sets the last error to ERROR_SUCCESS.
HANDLE CreateEvent(const void* attributes, BOOL manualReset, BOOL initialState, const char* name);
BOOL SetEvent(HANDLE event);
BOOL ResetEvent(HANDLE event);
// WAIT_OBJECT_0, WAIT_TIMEOUT, or WAIT_FAILED for a handle that is not an
// open event (last error ERROR_INVALID_HANDLE).
DWORD WaitForSingleObject(HANDLE event, DWORD timeoutMs);
BOOL CloseHandle(HANDLE event);

namespace plat {

// Gives an existing event a handle of its own; close it with CloseHandle.
HANDLE openEventHandle(EventHandle event);

// The event a handle names, or null when the handle is not open.
EventHandle eventFromHandle(HANDLE handle);

}  // namespace plat
