// The test host of the capture filter: a private class registry with the
// module kelorvomt.ax registered in it, temporary controller slots and
// camera state, and the filter created through the registry as the shell
// creates it. The module is loaded with dlopen, never linked.
#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "platform/win/message_box.h"
#include "shared/camera_interfaces.h"
#include "tests/support/temp_env.h"

namespace kel::test {

class CaptureHost {
 public:
  // `vars`: the virtual camera's variables for this test, e.g.
  // {"KELLIB3_CAMERA", "absent"}; the others are cleared.
  explicit CaptureHost(std::vector<std::pair<std::string, std::string>> vars = {});
  ~CaptureHost();
  CaptureHost(const CaptureHost&) = delete;
  CaptureHost& operator=(const CaptureHost&) = delete;

  // CoCreateInstance of CLSID_KelOrvoSource for ICamera2; fails the test
  // (and gives null) when the class cannot be created.
  ComPtr<ICamera2> createCamera();

  const TempDir& dir() const { return dir_; }

 private:
  TempDir dir_;
  std::vector<std::unique_ptr<ScopedEnv>> env_;
};

// Records every message box while it lives and answers OK.
class BoxLog {
 public:
  BoxLog();
  ~BoxLog();
  BoxLog(const BoxLog&) = delete;
  BoxLog& operator=(const BoxLog&) = delete;

  std::vector<plat::MessageBoxRequest> boxes() const;

 private:
  mutable std::mutex mutex_;
  std::vector<plat::MessageBoxRequest> boxes_;
  plat::MessageBoxHook previous_;
};

// UTF-8 copy of a BSTR (null gives "").
std::string utf8(BSTR text);

// The lines of a text, without their ends.
std::vector<std::string> lines(const std::string& text);

// The value after "name=" in the information list, or "" when absent.
std::string infoValue(const std::string& list, const std::string& name);

// The library's own text for an entry of a standard list (UTF-8).
std::string libraryText(std::uint32_t list, std::int32_t id);

}  // namespace kel::test
