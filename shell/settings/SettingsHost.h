// What the setting values reach through the application object: its graph,
// its setting store and its film marks. The application installs one host
// for its lifetime; while none is installed a value cannot bind, restore or
// save, and the summation value has no camera.
#pragma once

#include "shell/settings/FilmMarks.h"
#include "shell/settings/SettingStore.h"

class CGraph;

namespace Sett {

class Host {
 public:
  // Installs this host; only one may be installed at a time.
  Host(CGraph& graph, SettingStore& store, FilmMarks& marks);
  ~Host();
  Host(const Host&) = delete;
  Host& operator=(const Host&) = delete;

  // The installed host, or null.
  static Host* Current();

  CGraph& graph;
  SettingStore& store;
  FilmMarks& marks;
};

}  // namespace Sett
