#include <cstdio>
#include <string>

#include "platform/com/bstr_holder.h"
#include "platform/com/hresult_message.h"
#include "platform/kernel/text_codec.h"
#include "shared/camera_interfaces.h"
#include "tools/commands.h"
#include "tools/option_print.h"
#include "tools/session.h"

namespace kelorvo {
namespace {

std::string utf8(const plat::Bstr& text) { return plat::utf16ToUtf8(text.view()); }

// Each line of the information list, indented.
void printInfoList(const plat::Bstr& list) {
  const std::string text = utf8(list);
  for (std::string_view line : plat::splitLines(text)) std::printf("  %.*s\n", static_cast<int>(line.size()), line.data());
}

int describe(ICamera2& camera) {
  plat::Bstr serial, temperature, list;
  int frames = 0;
  HRESULT hr = camera.GetSerialNumber(serial.put());
  std::printf("Serial number: %s\n", SUCCEEDED(hr) ? utf8(serial).c_str() : plat::hresultMessage(hr).c_str());
  hr = camera.GetTemperature(temperature.put());
  std::printf("Temperature: %s\n", hr == S_OK ? utf8(temperature).c_str() : "not reported");
  std::printf("Information:\n");
  hr = camera.GetInfoList(list.put());
  if (SUCCEEDED(hr))
    printInfoList(list);
  else
    std::printf("  %s\n", plat::hresultMessage(hr).c_str());
  hr = camera.GetMaxFramesCount(&frames);
  if (SUCCEEDED(hr))
    std::printf("Recording capacity: %d frames\n", frames);
  else
    std::printf("Recording capacity: %s\n", plat::hresultMessage(hr).c_str());
  std::printf("Options:\n");
  if (printOptions(camera, stdout) == 0) std::printf("  none\n");
  return 0;
}

}  // namespace

int infoCommand() {
  Session session("info");
  if (!session.open()) return 1;
  const ComPtr<ICamera2> camera = session.camera();
  if (!camera) return session.fail("the capture filter has no camera interface");
  const int code = describe(*camera);
  session.pump();
  return code;
}

}  // namespace kelorvo
