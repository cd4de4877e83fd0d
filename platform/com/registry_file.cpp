#include "platform/com/registry_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <system_error>
#include <utility>

#include "platform/kernel/unique_fd.h"

namespace plat {

namespace {

std::string systemError(const std::string& what, const std::filesystem::path& path, int err) {
  return what + " " + path.string() + ": " + std::strerror(err);
}

bool writeAll(int fd, std::string_view data) {
  while (!data.empty()) {
    ssize_t n = ::write(fd, data.data(), data.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

}  // namespace

std::filesystem::path userRegistryPath() {
  if (const char* v = std::getenv("KELORVO_REGISTRY"); v && *v) return v;
  std::filesystem::path config;
  if (const char* v = std::getenv("XDG_CONFIG_HOME"); v && *v) {
    config = v;
  } else if (const char* home = std::getenv("HOME"); home && *home) {
    config = std::filesystem::path(home) / ".config";
  } else {
    config = std::filesystem::current_path();
  }
  return config / "kelorvo" / "registry";
}

HRESULT RegistryFile::load(RegKey& out, std::string& error) const {
  std::error_code ec;
  if (!std::filesystem::exists(path_, ec) && !ec) {
    out = RegKey{};
    return S_OK;
  }
  std::ifstream in(path_, std::ios::binary);
  if (!in) {
    error = "cannot read the class registry " + path_.string();
    return REGDB_E_READREGDB;
  }
  std::ostringstream text;
  text << in.rdbuf();
  if (in.bad()) {
    error = "cannot read the class registry " + path_.string();
    return REGDB_E_READREGDB;
  }
  RegParseError parse;
  if (!parseRegistry(text.str(), out, parse)) {
    error = "corrupt class registry " + path_.string() + " line " + std::to_string(parse.line) + ": " +
            parse.message;
    return REGDB_E_READREGDB;
  }
  return S_OK;
}

HRESULT RegistryFile::update(const Edit& edit, std::string& error) const {
  std::error_code ec;
  if (path_.has_parent_path()) std::filesystem::create_directories(path_.parent_path(), ec);
  if (ec) {
    error = "cannot create the folder of the class registry " + path_.string() + ": " + ec.message();
    return REGDB_E_WRITEREGDB;
  }
  std::filesystem::path lockPath = path_;
  lockPath += ".lock";
  UniqueFd lock(::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600));
  if (lock.get() < 0) {
    error = systemError("cannot open the lock file", lockPath, errno);
    return REGDB_E_WRITEREGDB;
  }
  int rc;
  while ((rc = ::flock(lock.get(), LOCK_EX)) != 0 && errno == EINTR) {
  }
  if (rc != 0) {
    error = systemError("cannot lock", lockPath, errno);
    return REGDB_E_WRITEREGDB;
  }
  // The lock goes with the descriptor when `lock` closes it.
  RegKey tree;
  if (HRESULT hr = load(tree, error); FAILED(hr)) return hr;
  RegKey before = tree;
  if (HRESULT hr = edit(tree, error); FAILED(hr)) return hr;
  if (tree == before) return S_OK;
  return writeAtomically(tree, error);
}

HRESULT RegistryFile::writeAtomically(const RegKey& tree, std::string& error) const {
  std::string tmpName = path_.string() + ".XXXXXX";
  UniqueFd fd(::mkstemp(tmpName.data()));
  if (fd.get() < 0) {
    error = systemError("cannot create a temporary file for", path_, errno);
    return REGDB_E_WRITEREGDB;
  }
  const std::string text = serializeRegistry(tree);
  bool ok = writeAll(fd.get(), text) && ::fsync(fd.get()) == 0;
  int err = errno;
  if (::close(fd.release()) != 0 && ok) {
    ok = false;
    err = errno;
  }
  if (ok && ::rename(tmpName.c_str(), path_.c_str()) != 0) {
    ok = false;
    err = errno;
  }
  if (!ok) {
    ::unlink(tmpName.c_str());
    error = systemError("cannot write the class registry", path_, err);
    return REGDB_E_WRITEREGDB;
  }
  // Make the rename itself durable.
  std::filesystem::path dir = path_.has_parent_path() ? path_.parent_path() : std::filesystem::path(".");
  UniqueFd dirFd(::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dirFd.get() >= 0) ::fsync(dirFd.get());
  return S_OK;
}

}  // namespace plat
