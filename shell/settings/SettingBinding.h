// One setting as its owner holds it: the option it stands for, the caption
// shown for it, the value object and how changes reach the camera. Used by
// every property dialog and three times inside each preset line.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

#include "shell/settings/RecordText.h"

namespace Sett {

enum ApplyMode : std::int32_t {
  // The owner writes after every change and reads back what the camera took.
  ApplyImmediately = 0,
  // Changes stay in the cache; destruction writes them and saves them in the
  // setting store for the next owner of the option.
  ApplyOnRelease = 1,
  // Never writes: preset lines.
  Detached = 2,
};

template <class Value>
struct SettingBinding {
  std::int32_t optionId = 0;  // the store key of the record kinds
  std::int32_t index = 0;
  std::string caption;
  Value value;
  std::int32_t mode = Detached;

  SettingBinding() = default;
  SettingBinding(std::int32_t id, std::int32_t idx, std::string text, std::int32_t applyMode)
      : optionId(id), index(idx), caption(std::move(text)), mode(applyMode) {}
  ~SettingBinding() {
    if (mode == ApplyOnRelease && Bound()) {
      value.WriteToInterface();
      value.Save(optionId);
    }
  }
  // A copy is always detached, so only the original writes on release.
  SettingBinding(const SettingBinding& other)
      : optionId(other.optionId), index(other.index), caption(other.caption), value(other.value) {}
  SettingBinding(SettingBinding&& other) noexcept
      : optionId(other.optionId),
        index(other.index),
        caption(std::move(other.caption)),
        value(std::move(other.value)),
        mode(std::exchange(other.mode, Detached)) {}
  SettingBinding& operator=(const SettingBinding&) = delete;
  SettingBinding& operator=(SettingBinding&&) = delete;

  // Whether the value talks to the camera: the property kinds once they are
  // connected, the record kinds always.
  bool Bound() const {
    if constexpr (requires { value.Bound(); }) return value.Bound();
    else return true;
  }

  // Binds the value and takes its first data: the record text when one is
  // given, else what the store kept for the option, else the camera's value.
  // The result is the supported flag.
  bool Initialise(std::string_view record) {
    if constexpr (requires { value.Bound(); }) {
      if (!value.Connect(optionId, index)) return false;
    }
    if (!record.empty()) {
      if (value.Parse(record) && mode == ApplyImmediately) {
        value.WriteToInterface();
        value.ReadFromInterface();
      }
      return true;
    }
    const bool restored = value.Restore(optionId);
    bool readBack = false;
    if (restored && mode == ApplyImmediately) {
      value.WriteToInterface();
      readBack = value.ReadFromInterface();
    }
    if (!restored || (mode == ApplyImmediately && !readBack)) value.ReadFromInterface();
    return true;
  }

  // A preset line offered to the owner: taken through Parse and, in
  // immediate mode, written and read back. True when Parse took it.
  bool ApplyRecord(std::string_view record) {
    if (!Bound() || !value.Parse(record)) return false;
    if (mode == ApplyImmediately) {
      value.WriteToInterface();
      value.ReadFromInterface();
    }
    return true;
  }

  // The same for a preset line whose instance is known: a line of another
  // instance of this binding's option is not this binding's, even when the
  // instances share a name.
  bool ApplyRecord(std::string_view record, std::int32_t lineIndex) {
    const auto fields = Record::Split(record);
    if (Record::Number(Record::Field(fields, 0)) == optionId && lineIndex != index) return false;
    return ApplyRecord(record);
  }
};

}  // namespace Sett
