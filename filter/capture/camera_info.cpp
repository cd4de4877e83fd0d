// The camera interface's information methods: serial number, recording
// capacity, the information list, temperature and the opening state.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <new>
#include <string>
#include <string_view>

#include "filter/capture/KelOrvoSource.h"
#include "filter/hardware/lib3_error.h"
#include "platform/kernel/text_codec.h"

namespace {

constexpr const char* kUnit = "KelOrvoSource";
constexpr std::uint32_t kDescription = 0xC0000002;  // index 1: the camera
constexpr std::uint32_t kTemperature = 0x900001;
constexpr std::uint32_t kSlotsPerPartition = 0x900003;
constexpr std::uint32_t kPartitions = 0x400009;
constexpr std::uint32_t kInfoList = 12;
constexpr std::uint32_t kValueList = 4;
constexpr std::uint32_t kRussian = 1;
constexpr std::uint32_t kAnsi = 2;
constexpr std::uint32_t kTextType = 32;

// A copy of `text` as a new BSTR in *out (empty text gives an empty, non-null
// string); E_OUTOFMEMORY when it cannot be allocated.
HRESULT toBstr(std::u16string_view text, BSTR* out) {
  *out = SysAllocStringLen(text.empty() ? u"" : text.data(), static_cast<UINT>(text.size()));
  return *out ? S_OK : E_OUTOFMEMORY;
}

// The interface (identifier, index) of the system, if it has one.
bool findInterface(KL3_HANDLE system, std::uint32_t id, std::uint32_t index, KL3_HANDLE& out) {
  return KelLib3SystemGetCInterface(system, id, index, &out, LIB3::ThreadErrorData()) == 0;
}

// Text of the value list entry equal to `value` that the text item `info`
// accepts, or null.
const char* valueText(KL3_HANDLE info, std::int32_t value, KL3_HANDLE values) {
  const char* text = nullptr;
  std::int32_t id = 0;
  for (std::uint32_t p = 0; KelLib3ListGetAll(&text, &id, p, values) != 0; ++p)
    if (id == value && KelLib3OptionQueryEnumVal(info, id, LIB3::ThreadErrorData()) == 0) return text;
  return nullptr;
}

// One line of the information list in the ANSI code page, cut to 511 bytes.
std::string infoLine(const char* name, KL3_HANDLE info, KL3_HANDLE values) {
  const KL3_HANDLE err = LIB3::ThreadErrorData();
  std::int32_t value = 0;
  std::uint32_t type = 0;
  LIB3::Check(KelLib3GetInfoScalarVal(info, &value, &type, err), err, kUnit, __LINE__);
  char line[512];
  if (type != kTextType) {
    std::snprintf(line, sizeof line, "%s=%d\n", name, value);
  } else {
    const char* text = valueText(info, value, values);
    std::snprintf(line, sizeof line, "%s=%s\n", name, text ? text : "?");
  }
  return line;
}

}  // namespace

HRESULT KelOrvoSource::GetSerialNumber(BSTR* serial) {
  if (!serial) return E_POINTER;
  *serial = nullptr;
  Orvo::System* system = OpenSystem();
  KL3_HANDLE camera = 0;
  if (!system || !findInterface(system->Handle(), kDescription, 1, camera)) return E_FAIL;
  // The library's text block: capacity, then the address of the text area
  // that follows, passed in the block size the command is defined with.
  alignas(KelLib3TextBlock) unsigned char raw[KELLIB3_TEXT_BLOCK_BYTES] = {};
  static_assert(sizeof raw >= sizeof(KelLib3TextBlock));
  auto* block = new (raw) KelLib3TextBlock{};
  block->capacity = sizeof block->area;
  block->text = block->area;
  if (KelLib3CallCInterface_1(camera, KELLIB3_CMD_READ_TEXT, sizeof raw, raw, LIB3::ThreadErrorData()) != 0)
    return E_FAIL;
  const std::string_view text(block->area, strnlen(block->area, sizeof block->area));
  try {
    return toBstr(plat::cp1251ToUtf16(text), serial);
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
}

HRESULT KelOrvoSource::GetMaxFramesCount(int* frames) {
  if (!frames) return E_POINTER;
  Orvo::System* system = OpenSystem();
  Options::OptionRecord* partitions = system ? system->FindOption(kPartitions, 0) : nullptr;
  if (!partitions) return E_FAIL;
  const KL3_HANDLE err = LIB3::ThreadErrorData();
  try {
    std::int32_t v = 0;
    LIB3::Check(KelLib3OptionGetScalar(partitions->Handle(), &v, 0, err), err, kUnit, __LINE__);
    KL3_HANDLE info = 0;
    LIB3::Check(KelLib3SystemGetCInterface(system->Handle(), kSlotsPerPartition, 0, &info, err), err, kUnit,
                __LINE__);
    std::int32_t n = 0;
    std::uint32_t type = 0;
    LIB3::Check(KelLib3GetInfoScalarVal(info, &n, &type, err), err, kUnit, __LINE__);
    // The last slot of each partition is never filled.
    const std::int64_t usable = std::int64_t{n} - 1;
    const std::int64_t count = usable < 0 ? 0 : std::int64_t{v} * usable;
    *frames = static_cast<int>(std::clamp<std::int64_t>(count, 0, std::numeric_limits<int>::max()));
    return S_OK;
  } catch (const LIB3::CError& e) {
    LIB3::ShowError(e, "GetMaxFramesCount():");
    return E_FAIL;
  }
}

HRESULT KelOrvoSource::GetInfoList(BSTR* list) {
  if (!list) return E_POINTER;
  *list = nullptr;
  Orvo::System* system = OpenSystem();
  if (!system) return E_FAIL;
  const KL3_HANDLE items = KelLib3ListGetStdListML(kInfoList, kRussian, kAnsi);
  const KL3_HANDLE values = KelLib3ListGetStdListML(kValueList, kRussian, kAnsi);
  if (items == 0) return E_FAIL;
  try {
    std::u16string result;
    const char* name = nullptr;
    std::int32_t id = 0;
    for (std::uint32_t p = 0; KelLib3ListGetAll(&name, &id, p, items) != 0; ++p) {
      KL3_HANDLE info = 0;
      for (std::uint32_t index = 0; findInterface(system->Handle(), static_cast<std::uint32_t>(id), index, info);
           ++index)
        result += plat::cp1251ToUtf16(infoLine(name ? name : "", info, values));
    }
    return toBstr(result, list);
  } catch (const LIB3::CError& e) {
    LIB3::ShowError(e, "GetInfoList():");
    return E_FAIL;
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
}

int KelOrvoSource::IsOpened() { return holder_.IsOpened() ? 1 : 0; }

HRESULT KelOrvoSource::GetErrorText(BSTR* text) {
  if (!text) return E_POINTER;
  *text = nullptr;
  try {
    return toBstr(plat::utf8ToUtf16(holder_.ErrorText()), text);
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
}

HRESULT KelOrvoSource::GetTemperature(BSTR* text) {
  if (!text) return E_POINTER;
  *text = nullptr;
  Orvo::System* system = OpenSystem();
  KL3_HANDLE info = 0;
  std::int32_t value = 0;
  std::uint32_t type = 0;
  if (!system || !findInterface(system->Handle(), kTemperature, 0, info) ||
      KelLib3GetInfoScalarVal(info, &value, &type, LIB3::ThreadErrorData()) != 0)
    return S_FALSE;
  try {
    return toBstr(u"Т камеры: " + plat::utf8ToUtf16(std::to_string(value)), text);
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
}
