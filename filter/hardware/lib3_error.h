// The filter module's exception for a failed hardware-library call, the one
// check every library result goes through, and the box that shows it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "filter/hardware/kellib3.h"

namespace LIB3 {

class CError {
 public:
  // Formats the library's report kept in `errorData`. `unit` is the source
  // unit shown to the operator; only the part after its last backslash is
  // kept, so a Windows-style path works as well as a bare name.
  CError(KL3_HANDLE errorData, std::string_view unit, int line);

  // UTF-8.
  const std::string& Text() const { return text_; }

 private:
  std::string text_;
};

// Throws CError for a positive result; zero and negative results pass.
void Check(KL3_RESULT result, KL3_HANDLE errorData, std::string_view unit, int line);

// Message box without owner: `prefix` directly followed by the error text,
// caption "LIB3 ERROR", error icon. Inside a DeferredErrorBoxes scope of the
// calling thread the box waits for the end of that scope.
void ShowError(const CError& error, std::string_view prefix);

// Holds back the error boxes of this thread while it lives and shows them,
// in order, when it ends (or hands them to an enclosing scope). Made before
// a lock is taken, it outlives the lock: a box waiting for the operator
// must not keep other threads waiting for that lock.
class DeferredErrorBoxes {
 public:
  DeferredErrorBoxes();
  ~DeferredErrorBoxes();
  DeferredErrorBoxes(const DeferredErrorBoxes&) = delete;
  DeferredErrorBoxes& operator=(const DeferredErrorBoxes&) = delete;

  void Add(std::string text) { texts_.push_back(std::move(text)); }

 private:
  std::vector<std::string> texts_;
  DeferredErrorBoxes* outer_;
};

}  // namespace LIB3
