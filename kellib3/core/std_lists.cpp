#include "kellib3/core/std_lists.h"

#include <array>
#include <span>
#include <string>
#include <vector>

namespace kellib3 {
namespace {

struct Source {
  const char* text;
  std::int32_t id;
};

constexpr Source kErrors[] = {
    {"Неверный дескриптор", 1},
    {"Неверный параметр", 2},
    {"Нулевой указатель", 3},
    {"Неверный размер блока данных", 4},
    {"Неизвестный идентификатор", 5},
    {"Неизвестная команда", 6},
    {"Нарушен порядок вызовов", 7},
    {"Значение вне допустимого диапазона", 8},
    {"Единица измерения не поддерживается", 9},
    {"Камера не обнаружена", 10},
    {"Контроллер недоступен", 11},
    {"Библиотека не инициализирована", 12},
    {"Аппаратный сбой", 13},
    {"Недостаточно памяти", 15},
    {"Операция невозможна во время ввода", 16},
    {"Ошибка файла состояния контроллера", 17},
    {"Неверная настройка окружения", 18},
};

constexpr Source kOptions[] = {
    {"Экспозиция", 0x400002},
    {"Кадровый период", 0x400003},
    {"Событие начала ввода", 0x400004},
    {"Событие остановки ввода", 0x400005},
    {"Окно ввода", 0x400006},
    {"Вводить кадров", 0x400007},
    {"Число разделов памяти", 0x400009},
    {"Усиление", 0x40000a},
    {"Уровень черного", 0x40000d},
    {"Тестовый режим", 0x400011},
    {"Фронт для запуска ввода", 0x400016},
    {"Источник синхронизации", 0x400017},
    {"Номер кадра", 0x400020},
    {"Затвор напряжение", 0x400022},
    {"Затвор кол-во экспозиций", 0x400041},
    {"Режим работы затвора", 0x400042},
    {"Задержка останова", 0x400054},
    {"Прореживание", 0x400055},
};

constexpr Source kUnits[] = {
    {"ед.", 0}, {"нс", 1}, {"мкс", 2}, {"мс", 3}, {"кадров", 6}, {"В", 12}, {"кадр/с", 31},
};

constexpr Source kValues[] = {
    {"Включен", 1},
    {"Выключен", 2},
    {"Программное событие", 4},
    {"Внешнее событие", 5},
    {"Передний фронт", 16},
    {"Задний фронт", 17},
    {"Внутренняя", 20},
    {"Внешняя", 21},
    {"Непрерывный ввод", 33},
    {"По счётчику кадров", 37},
    {"Затвор выключен", 40},
    {"Синхронно с кадром", 41},
    {"Мультиэкспозиция", 42},
    {"Монохромная", 50},
    {"Цветная", 51},
    {"Норма", 60},
    {"Перегрев", 61},
    {"Оптоволоконный канал", 70},
};

constexpr Source kInfo[] = {
    {"Температура камеры", 0x900001},
    {"Серийный номер камеры", 0x900002},
    {"Кадров в разделе памяти", 0x900003},
    {"Тип матрицы", 0x900004},
    {"Ширина матрицы", 0x900005},
    {"Высота матрицы", 0x900006},
    {"Разрядность АЦП", 0x900007},
    {"Объём памяти, МБ", 0x900008},
    {"Версия прошивки", 0x900009},
    {"Интерфейс камеры", 0x90000a},
    {"Состояние камеры", 0x90000b},
    {"Номер контроллера", 0x90000c},
};

std::span<const Source> sourceOf(std::uint32_t list) {
  switch (list) {
    case kListErrors: return kErrors;
    case kListOptions: return kOptions;
    case kListUnits: return kUnits;
    case kListValues: return kValues;
    case kListInfo: return kInfo;
    default: return {};
  }
}

constexpr std::uint32_t kHandleBase = 0x4C000000u;

// Encoded copies, built once; their c_str() pointers stay valid for the process.
struct EncodedList {
  std::vector<std::string> texts;
  std::span<const Source> source;
};

const EncodedList* encoded(std::uint32_t list, TextEncoding encoding) {
  static const auto all = [] {
    std::array<std::array<EncodedList, 2>, 13> lists{};
    for (std::uint32_t l = 0; l < lists.size(); ++l) {
      for (int e = 0; e < 2; ++e) {
        auto& target = lists[l][e];
        target.source = sourceOf(l);
        for (const auto& s : target.source)
          target.texts.push_back(encodeText(s.text, e == 0 ? TextEncoding::Utf8 : TextEncoding::Cp1251));
      }
    }
    return lists;
  }();
  if (list >= all.size() || sourceOf(list).empty()) return nullptr;
  return &all[list][encoding == TextEncoding::Utf8 ? 0 : 1];
}

const EncodedList* fromHandle(std::uint32_t handle) {
  if ((handle & 0xFF000000u) != kHandleBase) return nullptr;
  const auto encoding = static_cast<TextEncoding>((handle >> 8) & 0xFF);
  if (encoding != TextEncoding::Utf8 && encoding != TextEncoding::Cp1251) return nullptr;
  if ((handle & 0x00FF0000u) != 0) return nullptr;
  return encoded(handle & 0xFF, encoding);
}

}  // namespace

std::uint32_t listHandle(std::uint32_t list, TextEncoding encoding) {
  if (encoding != TextEncoding::Utf8 && encoding != TextEncoding::Cp1251) return 0;
  if (encoded(list, encoding) == nullptr) return 0;
  return kHandleBase | (static_cast<std::uint32_t>(encoding) << 8) | list;
}

std::optional<ListEntry> listEntry(std::uint32_t handle, std::uint32_t position) {
  const auto* l = fromHandle(handle);
  if (l == nullptr || position >= l->source.size()) return std::nullopt;
  return ListEntry{l->texts[position].c_str(), l->source[position].id};
}

std::optional<ListEntry> listFind(std::uint32_t handle, std::int32_t id) {
  const auto* l = fromHandle(handle);
  if (l == nullptr) return std::nullopt;
  for (std::size_t i = 0; i < l->source.size(); ++i)
    if (l->source[i].id == id) return ListEntry{l->texts[i].c_str(), id};
  return std::nullopt;
}

std::string_view listText(std::uint32_t list, std::int32_t id) {
  for (const auto& s : sourceOf(list))
    if (s.id == id) return s.text;
  return {};
}

}  // namespace kellib3
