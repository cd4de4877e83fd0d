#include "platform/avi/file_sink.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace plat {

namespace {

constexpr HRESULT fromWin32(DWORD code) { return kelHresult(0x80070000u | code); }

// Reserving in steps keeps the number of calls low; when a step does not
// fit, exactly what is needed is tried before giving up.
constexpr std::int64_t kReserveStep = 8 << 20;

std::string describe(const char* what, const std::filesystem::path& path, int error) {
  return std::string(what) + " \"" + path.string() + "\": " + std::strerror(error);
}

}  // namespace

HRESULT hresultFromErrno(int error) {
  switch (error) {
    case ENOENT:
    case ENOTDIR: return fromWin32(3);  // ERROR_PATH_NOT_FOUND
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR: return E_ACCESSDENIED;
    case ENAMETOOLONG: return fromWin32(206);  // ERROR_FILENAME_EXCED_RANGE
    case EINVAL:
    case EILSEQ: return fromWin32(123);  // ERROR_INVALID_NAME
    case ENOSPC:
    case EDQUOT: return fromWin32(112);  // ERROR_DISK_FULL
    case EFBIG: return fromWin32(223);   // ERROR_FILE_TOO_LARGE
    case ENOMEM: return E_OUTOFMEMORY;
    default: return fromWin32(29);  // ERROR_WRITE_FAULT
  }
}

std::shared_ptr<FileSink> FileSink::create(const std::filesystem::path& path, FileFailure* failure) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd < 0) {
    const int error = errno;
    if (failure) *failure = FileFailure{hresultFromErrno(error), describe("Cannot create the file", path, error)};
    return nullptr;
  }
  return std::shared_ptr<FileSink>(new FileSink(path, fd));
}

FileSink::FileSink(std::filesystem::path path, int fd) : path_(std::move(path)), fd_(fd) {}

FileSink::~FileSink() { close(); }

HRESULT FileSink::fail(int error, const char* what) {
  const HRESULT hr = hresultFromErrno(error);
  std::lock_guard lock(failureLock_);
  if (SUCCEEDED(failure_.hr)) failure_ = FileFailure{hr, describe(what, path_, error)};
  return hr;
}

FileFailure FileSink::failure() const {
  std::lock_guard lock(failureLock_);
  return failure_;
}

HRESULT FileSink::write(const std::uint8_t* data, std::size_t size) {
  if (fd_ < 0) return E_HANDLE;
  while (size > 0) {
    const ssize_t n = ::pwrite(fd_, data, size, position_);
    if (n < 0) {
      if (errno == EINTR) continue;
      return fail(errno, "Cannot write the file");
    }
    data += n;
    size -= static_cast<std::size_t>(n);
    position_ += n;
    dataEnd_ = std::max(dataEnd_, position_);
  }
  return S_OK;
}

HRESULT FileSink::seek(std::int64_t position) {
  if (position < 0) return E_INVALIDARG;
  position_ = position;
  return S_OK;
}

HRESULT FileSink::reserve(std::int64_t bytes) {
  if (fd_ < 0) return E_HANDLE;
  const std::int64_t need = position_ + bytes;
  if (!reserveSupported_ || need <= reservedEnd_) return S_OK;
  int error = ::posix_fallocate(fd_, reservedEnd_, need + kReserveStep - reservedEnd_);
  if (error == ENOSPC || error == EFBIG || error == EDQUOT) {
    error = ::posix_fallocate(fd_, reservedEnd_, need - reservedEnd_);
    if (error == 0) {
      reservedEnd_ = need;
      return S_OK;
    }
  }
  if (error == EOPNOTSUPP || error == ENODEV || error == ESPIPE) {
    // A file system that cannot reserve: failures then show at the write.
    reserveSupported_ = false;
    return S_OK;
  }
  if (error != 0) return fail(error, "Not enough space for the file");
  reservedEnd_ = need + kReserveStep;
  return S_OK;
}

HRESULT FileSink::truncate(std::int64_t size) {
  if (fd_ < 0) return E_HANDLE;
  if (::ftruncate(fd_, size) != 0) return fail(errno, "Cannot shorten the file");
  dataEnd_ = std::min(dataEnd_, size);
  reservedEnd_ = size;
  return S_OK;
}

HRESULT FileSink::close() {
  if (fd_ < 0) return S_OK;
  HRESULT hr = S_OK;
  if (reservedEnd_ > dataEnd_ && ::ftruncate(fd_, dataEnd_) != 0) hr = fail(errno, "Cannot shorten the file");
  if (::close(fd_) != 0 && SUCCEEDED(hr)) hr = fail(errno, "Cannot close the file");
  fd_ = -1;
  if (dataEnd_ == 0) {
    std::error_code ignored;  // the file may already be gone; nothing was in it
    std::filesystem::remove(path_, ignored);
  }
  return hr;
}

}  // namespace plat
