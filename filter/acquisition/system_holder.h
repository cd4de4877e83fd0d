// Owns the camera system of one filter object: opens it once, closes it,
// and keeps the reasons of every failed opening for the camera interface.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "filter/hardware/lib3_error.h"

namespace Kel {

template <class SystemT>
class SystemHolder {
 public:
  SystemHolder() = default;
  virtual ~SystemHolder() = default;
  SystemHolder(const SystemHolder&) = delete;
  SystemHolder& operator=(const SystemHolder&) = delete;

  // Creates and initialises a system of `type` on `controller`. True at
  // once when already opened. A hardware error is appended to the error
  // text followed by "\r\r\n", and the holder stays closed.
  bool Open(std::uint32_t type, std::int32_t controller) {
    if (opened_) return true;
    try {
      auto fresh = std::make_unique<SystemT>(type);
      system_ = std::move(fresh);
      system_->Init(controller);
      opened_ = true;
    } catch (const LIB3::CError& e) {
      errorText_ += e.Text();
      errorText_ += "\r\r\n";
      system_.reset();
      opened_ = false;
    }
    return opened_;
  }

  void Close() {
    system_.reset();
    opened_ = false;
  }

  bool IsOpened() const { return opened_; }
  // Null while closed.
  SystemT* Get() const { return system_.get(); }
  // UTF-8.
  const std::string& ErrorText() const { return errorText_; }

 private:
  std::unique_ptr<SystemT> system_;
  bool opened_ = false;
  std::string errorText_;
};

}  // namespace Kel
