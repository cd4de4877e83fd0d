// Test helper: one initialised library with an opened system on a controller,
// driven only through the C functions, plus frame transfers as the capture
// filter does them.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "filter/hardware/kellib3.h"
#include "tests/support/temp_env.h"

namespace kel::test {

// Environment of a library session; state in `stateDir`, a fast clock.
struct SessionEnv {
  explicit SessionEnv(const std::filesystem::path& stateDir, double timeScale = 1e6,
                      std::vector<std::pair<std::string, std::string>> extra = {});
  ~SessionEnv() {
    while (!vars.empty()) vars.pop_back();  // restore in reverse order
  }
  SessionEnv(const SessionEnv&) = delete;
  SessionEnv& operator=(const SessionEnv&) = delete;
  std::vector<std::unique_ptr<ScopedEnv>> vars;
};

// The error text of `error` as "code|message|remark" (UTF-8 texts).
std::string errorText(KL3_HANDLE error);

class Library {
 public:
  Library();   // KelLib3Init; fails the test on error
  ~Library();  // KelLib3Exit
  KL3_HANDLE error() const { return error_; }
 private:
  KL3_HANDLE error_ = 0;
};

struct Transfer {
  unsigned width = 0, height = 0;
  std::vector<std::uint8_t> picture;    // 8-bit samples, W x H
  std::optional<std::uint32_t> stripNumber;
  std::int32_t frameAttribute = -1;     // add-on attribute 0x400020
  std::int32_t orientation = -1;        // add-on attribute 0x400004
};

class Session {
 public:
  explicit Session(std::int32_t controller = 0);
  ~Session();

  KL3_HANDLE system() const { return system_; }
  KL3_HANDLE error() const { return error_; }
  std::string lastError() const { return errorText(error_); }

  KL3_HANDLE iface(std::uint32_t id, std::uint32_t index = 0);
  KL3_HANDLE input();
  std::int32_t scalar(std::uint32_t id, std::uint32_t unit, std::uint32_t index = 0);
  KL3_RESULT setScalar(std::uint32_t id, std::int32_t value, std::uint32_t unit, std::uint32_t index = 0);
  std::pair<std::int32_t, std::int32_t> range(std::uint32_t id, std::uint32_t unit, std::uint32_t index = 0);
  KL3_RESULT setEnum(std::uint32_t id, std::int32_t value);
  KL3_RESULT setRect(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h);

  KL3_RESULT command(std::uint32_t id, std::uint32_t index, std::uint32_t command);
  std::uint32_t state();
  KelLib3StatusBlock status();
  void startInput();  // as the filter: open cycle on B, arm, start
  void stopInput();
  // Reads the status until `state` (Wait between reads); false if it never comes.
  bool waitForState(std::uint32_t state, int maxWaits = 100000);

  // One four-part frame cycle; nullopt when the frame never became ready.
  std::optional<Transfer> transfer(bool closeCycle = true);

 private:
  std::int32_t controller_;
  KL3_HANDLE error_ = 0;
  KL3_HANDLE system_ = 0;
};

// Unpacks four DMA parts to 8-bit samples (the frame converter's layout).
std::vector<std::uint8_t> unpackParts(const std::vector<const std::uint8_t*>& parts, unsigned width, unsigned height);

}  // namespace kel::test
