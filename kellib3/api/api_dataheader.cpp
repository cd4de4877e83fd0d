// Entry points: data headers (frame format descriptions).
#include <cstring>
#include <string>

#include "kellib3/api/guard.h"

using namespace kellib3;

namespace {

std::uint32_t& slot(DataHeader& h, std::uint32_t key) {
  if (key >= h.values.size())
    KL3_RAISE(ErrorCode::UnknownId, 0, "data header key " + std::to_string(key) + " does not exist (0..15)");
  return h.values[key];
}

KelLib3DataheaderImage imageOf(const DataHeader& h) {
  KelLib3DataheaderImage img{};
  img.magic = 0x3148444B;
  img.typeMajor = h.typeMajor;
  img.typeMinor = h.typeMinor;
  img.sizeLow = h.sizeLow;
  img.sizeHigh = h.sizeHigh;
  std::memcpy(img.values, h.values.data(), sizeof img.values);
  return img;
}

}  // namespace

extern "C" {

KL3_RESULT KelLib3DataheaderCreate(KL3_HANDLE* dataheader, KL3_HANDLE error) {
  return guarded("KelLib3DataheaderCreate", error, [&](auto&) {
    auto& out = required(dataheader, "dataheader");
    auto& lib = library();
    const auto handle = lib.newHandle(0x48);
    lib.headers[handle] = std::make_unique<DataHeader>();
    out = handle;
  });
}

KL3_RESULT KelLib3DataheaderInit(KL3_HANDLE dataheader, KL3_HANDLE error) {
  return guarded("KelLib3DataheaderInit", error, [&](auto&) {
    auto& h = library().header(dataheader, false);
    h = DataHeader{};
    h.initialised = true;
  });
}

KL3_RESULT KelLib3DataheaderFree(KL3_HANDLE dataheader, KL3_HANDLE error) {
  return guarded("KelLib3DataheaderFree", error, [&](auto&) {
    auto& lib = library();
    lib.header(dataheader, false);
    lib.headers.erase(dataheader);
  });
}

KL3_RESULT KelLib3DataheaderGetType(KL3_HANDLE dataheader, uint32_t* typeMajor, uint32_t* typeMinor,
                                    uint32_t* sizeLow, uint32_t* sizeHigh, KL3_HANDLE error) {
  return guarded("KelLib3DataheaderGetType", error, [&](auto&) {
    auto& a = required(typeMajor, "typeMajor");
    auto& b = required(typeMinor, "typeMinor");
    auto& lo = required(sizeLow, "sizeLow");
    auto& hi = required(sizeHigh, "sizeHigh");
    const auto& h = library().header(dataheader);
    a = h.typeMajor;
    b = h.typeMinor;
    lo = h.sizeLow;
    hi = h.sizeHigh;
  });
}

KL3_RESULT KelLib3DataheaderSetType(KL3_HANDLE dataheader, uint32_t typeMajor, uint32_t typeMinor,
                                    uint32_t sizeLow, uint32_t sizeHigh, KL3_HANDLE error) {
  return guarded("KelLib3DataheaderSetType", error, [&](auto&) {
    auto& h = library().header(dataheader);
    h.typeMajor = typeMajor;
    h.typeMinor = typeMinor;
    h.sizeLow = sizeLow;
    h.sizeHigh = sizeHigh;
  });
}

KL3_RESULT KelLib3DataheaderGetU32(KL3_HANDLE dataheader, uint32_t key, uint32_t* value, KL3_HANDLE error) {
  return guarded("KelLib3DataheaderGetU32", error, [&](auto&) {
    auto& v = required(value, "value");
    v = slot(library().header(dataheader), key);
  });
}

KL3_RESULT KelLib3DataheaderSetU32(KL3_HANDLE dataheader, uint32_t key, uint32_t value, KL3_HANDLE error) {
  return guarded("KelLib3DataheaderSetU32", error,
                 [&](auto&) { slot(library().header(dataheader), key) = value; });
}

KL3_RESULT KelLib3DataheaderSize(KL3_HANDLE dataheader, uint32_t* size, KL3_HANDLE error) {
  return guarded("KelLib3DataheaderSize", error, [&](auto&) {
    auto& s = required(size, "size");
    library().header(dataheader);
    s = sizeof(KelLib3DataheaderImage);
  });
}

KL3_RESULT KelLib3DataheaderCopy(KL3_HANDLE dataheader, void* target, uint32_t targetSize, KL3_HANDLE error) {
  return guarded("KelLib3DataheaderCopy", error, [&](auto&) {
    auto& t = required(static_cast<char*>(target), "target");
    const auto img = imageOf(library().header(dataheader));
    if (targetSize < sizeof img)
      KL3_RAISE(ErrorCode::BlockSize, dataheader,
                "target of " + std::to_string(targetSize) + " bytes, the header needs " + std::to_string(sizeof img));
    std::memcpy(&t, &img, sizeof img);
  });
}

}  // extern "C"
