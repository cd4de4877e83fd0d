#include "filter/hardware/lib3_error.h"

#include <string>

#include "platform/kernel/text_codec.h"
#include "platform/win/message_box.h"

namespace LIB3 {
namespace {

constexpr const char* kFormat =
    "KELLIB3 %t: %c - %m  File: %f:%l Date: %d Object Id:   %i  Object File: %I Remark:\"%r\"";
constexpr unsigned kBufferSize = 1024;
constexpr unsigned kErrorTextList = 1;
constexpr const char* kCaption = "LIB3 ERROR";

thread_local DeferredErrorBoxes* deferred = nullptr;

std::string_view unitName(std::string_view path) {
  const auto slash = path.rfind('\\');
  return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

}  // namespace

CError::CError(KL3_HANDLE errorData, std::string_view unit, int line) {
  char buffer[kBufferSize] = {};
  const KL3_RESULT r =
      KelLib3ErrorSPrintf(buffer, kBufferSize, kFormat, errorData, KelLib3ListGetStdList(kErrorTextList));
  if (r > 0) {
    text_ = "LIB3: Неизвестная ошибка";
    return;
  }
  // The library's texts are code page 1251.
  text_ = "Error: \"" + plat::cp1251ToUtf8(buffer) + "\"\r\r\nin File: " + std::string(unitName(unit)) +
          " Line: " + std::to_string(line);
}

void Check(KL3_RESULT result, KL3_HANDLE errorData, std::string_view unit, int line) {
  if (result > 0) throw CError(errorData, unit, line);
}

void ShowError(const CError& error, std::string_view prefix) {
  std::string text = std::string(prefix) + error.Text();
  if (deferred) {
    deferred->Add(std::move(text));
    return;
  }
  plat::MessageBox(text, kCaption, MB_OK | MB_ICONERROR);
}

DeferredErrorBoxes::DeferredErrorBoxes() : outer_(deferred) { deferred = this; }

DeferredErrorBoxes::~DeferredErrorBoxes() {
  deferred = outer_;
  for (std::string& text : texts_) {
    if (outer_) outer_->Add(std::move(text));
    else plat::MessageBox(text, kCaption, MB_OK | MB_ICONERROR);
  }
}

}  // namespace LIB3
