#include <string>

#include "filter/processing/info_file.h"

namespace Orvo {
namespace {

constexpr std::size_t kLabelWidth = 23;

// Characters, not bytes: the file stores one byte per character.
std::size_t characters(std::string_view utf8) {
  std::size_t n = 0;
  for (const char c : utf8)
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++n;
  return n;
}

class Lines {
 public:
  void add(std::string_view label, const std::string& value, std::string_view suffix = {}) {
    text_ += label;
    for (std::size_t n = characters(label); n < kLabelWidth; ++n) text_ += ' ';
    text_ += value;
    text_ += suffix;
    text_ += "\r\n";
  }
  std::string take() { return std::move(text_); }

 private:
  std::string text_;
};

std::string box(bool on) { return on ? "[X]" : "[ ]"; }

}  // namespace

std::string FormatShootingParameters(const ShootingParameters& p) {
  using std::to_string;
  Lines out;
  if (p.framePeriodUs) out.add("Кадровый период:", to_string(*p.framePeriodUs), " мкс");
  if (p.exposure) out.add("Экспозиция:", to_string(p.exposure->value), p.exposure->nanoseconds ? " нс" : " мкс");
  out.add("Фон:", box(p.background));
  if (p.window) out.add("Окно:", to_string(p.window->width) + "x" + to_string(p.window->height));
  if (p.decimation) out.add("Прореживание:", to_string(*p.decimation));
  if (p.gain) out.add("Усиление:", to_string(*p.gain));
  if (p.blackLevel) out.add("Уровень черного:", to_string(*p.blackLevel));
  out.add("Цифровое усиление:", to_string(p.digitalGain));
  if (p.whiteBalance) {
    const auto& wb = *p.whiteBalance;
    out.add("Баланс белого:",
            wb.automatic ? "авто" : to_string(wb.red) + "-" + to_string(wb.green) + "-" + to_string(wb.blue));
  }
  out.add("Гамма-коррекция:", box(p.gamma));
  out.add("Цифр.коррекция черный:", to_string(p.correctionBlack));
  out.add("Цифр.коррекция белый:", to_string(p.correctionWhite));
  if (p.shutterVoltage) out.add("Затвор напряжение:", to_string(*p.shutterVoltage), " вольт");
  if (p.shutterCount) out.add("Затвор кол-во эксп.:", to_string(*p.shutterCount));
  if (p.shutterPeriodUs) out.add("Затвор период зксп.:", to_string(*p.shutterPeriodUs), " мкс");
  return out.take();
}

}  // namespace Orvo
