#include "kellib3/grabber/film.h"

#include <algorithm>
#include <limits>

namespace kellib3 {
namespace {
constexpr std::int64_t kNever = std::numeric_limits<std::int64_t>::max();

bool stopsAfterCount(std::int32_t stopEvent) { return stopEvent != kStopOnCommand; }
}  // namespace

Film Film::start(std::int64_t nowNs, const CameraSettings& s, std::optional<std::int64_t> triggerAfterNs) {
  Film f;
  f.inputStartNs = nowNs;
  f.externalStart = s.startEvent == kStartExternal;
  if (f.externalStart && triggerAfterNs) f.triggerNs = nowNs + *triggerAfterNs;
  f.stopEvent = s.stopEvent;
  f.framesToRecord = s.framesToRecord;
  f.stopDelay = s.stopDelay;
  f.capacity = filmCapacity(s);
  f.periodNs = std::max<std::int64_t>(1, s.periodNs);
  f.segments.push_back({0, s});
  return f;
}

FilmStatus Film::statusAt(std::int64_t nowNs) const {
  FilmStatus st;
  const std::int64_t startNs = externalStart ? triggerNs.value_or(kNever) : inputStartNs;
  const auto framesBy = [&](std::int64_t t) { return t < startNs ? 0 : (t - startNs) / periodNs; };

  std::int64_t limit = stopsAfterCount(stopEvent) ? std::min(framesToRecord, capacity) : kNever;
  if (stopCommandNs) {
    limit = *stopCommandNs < startNs ? 0 : std::min(limit, framesBy(*stopCommandNs) + stopDelay);
  }
  if (startNs == kNever || nowNs < startNs) {
    st.waitingTrigger = limit != 0;
    st.recording = st.waitingTrigger;
    st.nextDueNs = startNs == kNever || limit == 0 ? -1 : startNs + periodNs;
    return st;
  }
  st.taken = std::min(framesBy(nowNs), limit);
  st.recording = st.taken < limit;
  if (st.taken > 0) {
    st.last = st.taken - 1;
    st.first = capacity > 0 ? std::max<std::int64_t>(0, st.taken - capacity) : st.last;
  }
  if (st.recording) st.nextDueNs = startNs + (st.taken + 1) * periodNs;
  return st;
}

const CameraSettings& Film::settingsOf(std::int64_t frame) const {
  const FilmSegment* found = &segments.front();
  for (const auto& seg : segments)
    if (seg.fromFrame <= frame) found = &seg;
  return found->settings;
}

void Film::changeSettings(std::int64_t nowNs, const CameraSettings& s) {
  const auto st = statusAt(nowNs);
  if (!st.recording) return;
  const std::int64_t from = st.taken + 1;
  if (segments.back().fromFrame == from) segments.back().settings = s;
  else segments.push_back({from, s});
}

}  // namespace kellib3
