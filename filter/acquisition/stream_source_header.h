// The input data header a stream source reads the frame format from: made
// and initialised by the library, freed with its owner.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "filter/hardware/kellib3.h"

namespace Orvo {

class DataHeader {
 public:
  DataHeader() = default;
  ~DataHeader();
  DataHeader(const DataHeader&) = delete;
  DataHeader& operator=(const DataHeader&) = delete;

  // KelLib3DataheaderCreate and KelLib3DataheaderInit; throws LIB3::CError
  // naming `unit`. A header made earlier is freed first.
  void Create(KL3_HANDLE errorData, std::string_view unit);

  KL3_HANDLE Handle() const { return handle_; }

  // Value of a key (width 4, height 5, pixel format 9 ...); throws LIB3::CError.
  std::uint32_t Get(std::uint32_t key, std::string_view unit) const;

 private:
  void Free();

  KL3_HANDLE handle_ = 0;
  KL3_HANDLE error_ = 0;
  std::string unit_;
};

}  // namespace Orvo
