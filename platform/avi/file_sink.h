// The output file of a save, shared by the file writer (which opens it when
// the graph starts, so a bad name fails the start) and the AVI multiplexer
// (which writes it until its film is finalised, even after the writer has
// already stopped). Space is reserved ahead of the data with fallocate, so
// that a full disk or a size limit is met before a frame is started, never
// in the middle of one, and the multiplexer can still finish the file in
// space it already holds. Closing trims the reserve; a file that never got
// a byte is removed, so a failed start leaves nothing behind.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string>

#include "platform/com/types.h"

namespace plat {

// Failures of the file system as HRESULTs in the Windows family
// (0x8007xxxx): path not found, access denied, invalid name, disk full,
// file too large; anything else is a write fault.
HRESULT hresultFromErrno(int error);

struct FileFailure {
  HRESULT hr = S_OK;
  std::string text;
};

class FileSink {
 public:
  // Creates the file, replacing one of that name. Null and `failure` set
  // when it cannot be created.
  static std::shared_ptr<FileSink> create(const std::filesystem::path& path, FileFailure* failure);
  ~FileSink();
  FileSink(const FileSink&) = delete;
  FileSink& operator=(const FileSink&) = delete;

  const std::filesystem::path& path() const { return path_; }

  // Writes at the current position and moves past the bytes.
  HRESULT write(const std::uint8_t* data, std::size_t size);
  // Sets the position; writing past the end of the data is allowed.
  HRESULT seek(std::int64_t position);
  std::int64_t position() const { return position_; }
  // One past the last byte ever written.
  std::int64_t dataEnd() const { return dataEnd_; }
  // Makes sure `bytes` past the current position can be written without
  // running out of space.
  HRESULT reserve(std::int64_t bytes);
  // Drops everything from `size` on.
  HRESULT truncate(std::int64_t size);
  // Trims the reserve and closes; removes the file when it holds nothing.
  HRESULT close();

  // The first failure met, with its text; S_OK when none.
  FileFailure failure() const;

 private:
  FileSink(std::filesystem::path path, int fd);
  HRESULT fail(int error, const char* what);

  const std::filesystem::path path_;
  int fd_;
  std::int64_t position_ = 0;
  std::int64_t dataEnd_ = 0;
  std::int64_t reservedEnd_ = 0;
  bool reserveSupported_ = true;
  mutable std::mutex failureLock_;
  FileFailure failure_;
};

}  // namespace plat
