// Test helpers for the capture filter's code: a fresh virtual camera for one
// test, a recorder of the message boxes the code shows, and the library's
// own lists read in UTF-8 for building expectations.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "filter/hardware/kellib3.h"
#include "platform/win/message_box.h"
#include "tests/support/temp_env.h"

namespace kel::test {

// Temporary controller state and slot folders, the camera variables of the
// library set as asked (the rest cleared), and the library initialised for
// the object's lifetime. `vars` are (name, value) pairs such as
// {"KELLIB3_FAIL", "KelLib3OptionSetScalar:1"}.
class CameraEnv {
 public:
  explicit CameraEnv(std::initializer_list<std::pair<std::string, std::string>> vars = {});
  ~CameraEnv();
  CameraEnv(const CameraEnv&) = delete;
  CameraEnv& operator=(const CameraEnv&) = delete;

  KL3_HANDLE error() const { return error_; }

 private:
  TempDir dir_;
  std::vector<std::unique_ptr<ScopedEnv>> env_;
  KL3_HANDLE error_ = 0;
};

// Records every message box while it lives and answers OK.
class BoxRecorder {
 public:
  BoxRecorder();
  ~BoxRecorder();
  BoxRecorder(const BoxRecorder&) = delete;
  BoxRecorder& operator=(const BoxRecorder&) = delete;

  std::vector<plat::MessageBoxRequest> boxes() const;
  std::size_t count() const { return boxes().size(); }

 private:
  mutable std::mutex mutex_;
  std::vector<plat::MessageBoxRequest> boxes_;
  plat::MessageBoxHook previous_;
};

// Entries (UTF-8 text, identifier) of a standard list, in list order.
std::vector<std::pair<std::string, std::int32_t>> listEntries(std::uint32_t list);
// Text of `id` in a standard list (UTF-8), empty when absent.
std::string listText(std::uint32_t list, std::int32_t id);

}  // namespace kel::test
