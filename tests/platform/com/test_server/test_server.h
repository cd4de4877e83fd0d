// The interface and classes of the small in-process server the COM runtime
// tests load through the class registry.
#pragma once

#include "platform/com/unknown.h"

inline constexpr CLSID CLSID_TestCounter{
    0x5A1E0C01, 0x3B7D, 0x4E2A, {0x9C, 0x11, 0x42, 0x7F, 0x10, 0x00, 0x00, 0x01}};
// A second class, registered as a filter with one output pin.
inline constexpr CLSID CLSID_TestSource{
    0x5A1E0C01, 0x3B7D, 0x4E2A, {0x9C, 0x11, 0x42, 0x7F, 0x10, 0x00, 0x00, 0x02}};
inline constexpr IID IID_ITestCounter{
    0x5A1E0C01, 0x3B7D, 0x4E2A, {0x9C, 0x11, 0x42, 0x7F, 0x10, 0x00, 0x01, 0x00}};

struct ITestCounter : IUnknown {
  virtual HRESULT Add(LONG amount) = 0;
  virtual HRESULT Value(LONG* value) = 0;

 protected:
  ~ITestCounter() = default;
};

// File names of the test modules in the build's bin folder.
inline constexpr const char* kTestServerFile = "kel_test_server.so";
inline constexpr const char* kTestNoEntryFile = "kel_test_no_entry.so";

// Exported by the test server: its live objects and server locks, so tests
// can see what DllCanUnloadNow sees.
using TestServerCountsFn = void (*)(long* objects, long* locks);
