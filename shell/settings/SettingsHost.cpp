#include "shell/settings/SettingsHost.h"

#include <stdexcept>

namespace Sett {
namespace {
Host* current = nullptr;
}  // namespace

Host::Host(CGraph& g, SettingStore& s, FilmMarks& m) : graph(g), store(s), marks(m) {
  // A second host would leave the values talking to two applications.
  if (current) throw std::logic_error("a settings host is installed already");
  current = this;
}

Host::~Host() { current = nullptr; }

Host* Host::Current() { return current; }

}  // namespace Sett
