// Entry points: library life, error data and the standard lists.
#include <cstring>
#include <string>

#include "kellib3/api/guard.h"
#include "kellib3/core/std_lists.h"
#include "kellib3/library_info.h"

using namespace kellib3;

extern "C" {

const char* KelLib3Version(void) { return libraryVersion(); }

KL3_RESULT KelLib3Init(KL3_HANDLE error) {
  return guarded(
      "KelLib3Init", error,
      [](auto&) {
        auto& lib = library();
        lib.init();
        if (lib.faults.shouldFail("KelLib3Init")) {
          lib.exit();
          KL3_RAISE(ErrorCode::DeviceFault, 0, "the device did not answer (injected fault)");
        }
      },
      false);
}

KL3_RESULT KelLib3Exit(KL3_HANDLE error) {
  return guarded("KelLib3Exit", error, [](auto&) { library().exit(); });
}

KL3_RESULT KelLib3ErrorDataCreate(KL3_HANDLE* error) {
  if (error == nullptr) return static_cast<KL3_RESULT>(ErrorCode::NullPointer);
  *error = errorStore().create();
  return 0;
}

KL3_RESULT KelLib3ErrorDataFree(KL3_HANDLE error) {
  return errorStore().free(error) ? 0 : static_cast<KL3_RESULT>(ErrorCode::InvalidHandle);
}

KL3_RESULT KelLib3ErrorSPrintf(char* buffer, uint32_t bufferSize, const char* format, KL3_HANDLE error,
                               KL3_HANDLE textList) {
  if (buffer == nullptr || format == nullptr) return static_cast<KL3_RESULT>(ErrorCode::NullPointer);
  if (bufferSize == 0) return static_cast<KL3_RESULT>(ErrorCode::BlockSize);
  std::string text;
  try {
    if (!errorStore().format(error, format, textList, text)) {
      buffer[0] = '\0';
      return static_cast<KL3_RESULT>(ErrorCode::InvalidHandle);
    }
  } catch (const std::bad_alloc&) {
    buffer[0] = '\0';
    return static_cast<KL3_RESULT>(ErrorCode::NoMemory);
  }
  const std::size_t n = std::min<std::size_t>(text.size(), bufferSize - 1);
  std::memcpy(buffer, text.data(), n);
  buffer[n] = '\0';
  return 0;
}

KL3_HANDLE KelLib3ListGetStdList(uint32_t list) { return listHandle(list, TextEncoding::Cp1251); }

KL3_HANDLE KelLib3ListGetStdListML(uint32_t list, uint32_t language, uint32_t encoding) {
  if (language > 1) return 0;
  return listHandle(list, static_cast<TextEncoding>(encoding));
}

int32_t KelLib3ListGetAll(const char** text, int32_t* id, uint32_t position, KL3_HANDLE list) {
  const auto e = listEntry(list, position);
  if (!e) return 0;
  if (text) *text = e->text;
  if (id) *id = e->id;
  return 1;
}

int32_t KelLib3ListGetString(const char** text, int32_t id, KL3_HANDLE list) {
  const auto e = listFind(list, id);
  if (!e) return 0;
  if (text) *text = e->text;
  return 1;
}

}  // extern "C"
