#include "filter/capture/output_format.h"

#include <cstring>
#include <vector>

#include "filter/acquisition/settings_records.h"
#include "filter/hardware/lib3_error.h"
#include "platform/dshow/guids.h"

namespace Kel {
namespace {

constexpr std::uint32_t kInputInterface = 0xC0000000;
// How the output is described to the library: an image frame of 8-bit
// samples, packed RGB, one part.
constexpr std::uint32_t kOutputMajor = 3;
constexpr std::uint32_t kOutputMinor = 8;
constexpr std::uint32_t kOutputPixelFormat = 65537;
constexpr std::uint32_t kOutputLayout = 0x20000;

const GUID& rgbSubtype(int bytesPerPixel) {
  if (bytesPerPixel == 3) return MEDIASUBTYPE_RGB24;
  if (bytesPerPixel == 4) return MEDIASUBTYPE_RGB32;
  return GUID_NULL;
}

}  // namespace

std::uint32_t OutputFormat::StreamSampleSize() const {
  return pixelCount * static_cast<std::uint32_t>(bytesPerPixel > 0 ? bytesPerPixel : 0);
}

OutputFormat ReadOutputFormat(KL3_HANDLE system, int bytesPerPixel, Orvo::DataHeader& header, KL3_HANDLE error,
                              const char* unit) {
  KL3_HANDLE input = 0;
  LIB3::Check(KelLib3SystemGetInDInterface(system, kInputInterface, 0, &input, error), error, unit, __LINE__);
  header.Create(error, unit);
  LIB3::Check(KelLib3InDInterfaceGetType(input, header.Handle(), error), error, unit, __LINE__);
  OutputFormat f;
  f.bytesPerPixel = bytesPerPixel;
  f.width = header.Get(KELLIB3_KEY_WIDTH, unit);
  f.height = header.Get(KELLIB3_KEY_HEIGHT, unit);
  const std::uint32_t pixelFormat = header.Get(KELLIB3_KEY_PIXEL_FORMAT, unit);
  Orvo::Settings().whiteBalance.colorCamera =
      (pixelFormat == KELLIB3_PIXEL_BAYER10 || pixelFormat == KELLIB3_PIXEL_BAYER10_ALT) ? 1 : 0;
  f.pixelCount = f.width * f.height;

  const auto bpp = static_cast<std::uint32_t>(bytesPerPixel);
  const KL3_HANDLE h = header.Handle();
  LIB3::Check(KelLib3DataheaderSetType(h, kOutputMajor, kOutputMinor, f.width * bpp * f.height, 0, error), error,
              unit, __LINE__);
  LIB3::Check(KelLib3DataheaderSetU32(h, KELLIB3_KEY_BITS_PER_PIXEL, bpp * 8, error), error, unit, __LINE__);
  LIB3::Check(KelLib3DataheaderSetU32(h, KELLIB3_KEY_PIXEL_FORMAT, kOutputPixelFormat, error), error, unit, __LINE__);
  LIB3::Check(KelLib3DataheaderSetU32(h, KELLIB3_KEY_LAYOUT, kOutputLayout, error), error, unit, __LINE__);
  LIB3::Check(KelLib3DataheaderSetU32(h, KELLIB3_KEY_WIDTH, f.width, error), error, unit, __LINE__);
  LIB3::Check(KelLib3DataheaderSetU32(h, KELLIB3_KEY_HEIGHT, f.height, error), error, unit, __LINE__);

  if (Orvo::Settings().levels.summation.load() != 0) {
    // The summed picture is half the size; an odd last row has no partner.
    f.height &= ~1u;
    f.width /= 2;
    f.height /= 2;
  }
  return f;
}

HRESULT BuildStreamType(const OutputFormat& format, const Orvo::DataHeader& header, KL3_HANDLE error,
                        CMediaType* type) {
  std::uint32_t size = 0;
  if (KelLib3DataheaderSize(header.Handle(), &size, error) != 0) return E_UNEXPECTED;
  std::vector<BYTE> block(2 * sizeof(std::uint32_t) + size);
  const std::uint32_t lead[2] = {0, size};
  std::memcpy(block.data(), lead, sizeof lead);
  if (KelLib3DataheaderCopy(header.Handle(), block.data() + sizeof lead, size, error) != 0) return E_UNEXPECTED;

  type->InitMediaType();
  type->SetType(&MEDIATYPE_Stream);
  type->SetSubtype(&rgbSubtype(format.bytesPerPixel));
  type->SetFormatType(&FORMAT_KelOrvoDataHeader);
  if (!type->SetFormat(block.data(), static_cast<ULONG>(block.size()))) return E_OUTOFMEMORY;
  type->SetTemporalCompression(FALSE);
  type->SetSampleSize(format.StreamSampleSize());
  return S_OK;
}

HRESULT BuildVideoType(const OutputFormat& format, CMediaType* type) {
  type->InitMediaType();
  auto* info = reinterpret_cast<VIDEOINFO*>(type->AllocFormatBuffer(sizeof(VIDEOINFO)));
  if (!info) return E_OUTOFMEMORY;
  const GUID& subtype = rgbSubtype(format.bytesPerPixel);
  const WORD bits = subtype == GUID_NULL ? 0 : static_cast<WORD>(format.bytesPerPixel * 8);
  BITMAPINFOHEADER& bih = info->bmiHeader;
  bih.biSize = sizeof(BITMAPINFOHEADER);
  bih.biWidth = static_cast<LONG>(format.width);
  bih.biHeight = static_cast<LONG>(format.height);
  bih.biBitCount = bits;
  bih.biCompression = BI_RGB;
  bih.biSizeImage = static_cast<DWORD>(std::uint64_t{bits} * format.width * format.height / 8);
  type->SetType(&MEDIATYPE_Video);
  type->SetSubtype(&subtype);
  type->SetFormatType(&FORMAT_VideoInfo);
  type->SetTemporalCompression(FALSE);
  type->SetSampleSize(bih.biSizeImage);
  return S_OK;
}

}  // namespace Kel
