#include "filter/processing/background_procedure.h"

#include <exception>
#include <mutex>
#include <string>

#include "filter/acquisition/StRecordSource.h"
#include "filter/acquisition/global_frame_lock.h"
#include "filter/acquisition/settings_records.h"
#include "filter/acquisition/stream_source_notify.h"
#include "filter/hardware/lib3_error.h"
#include "filter/processing/background_settings.h"
#include "shared/identifiers.h"

namespace Orvo {
namespace {

constexpr const char* kNotTaken = "Фон не снят: ";

// Records the film: the record source runs until the grabber reports the
// film complete (it stops by itself after the frames to record).
void RecordFilm(System& system, StRecordSource& record) {
  system.StartInput();
  record.SetRunning(true);
  StOrvoSource::FrameBuffer scratch;
  while (record.createData(scratch)) {
  }
  record.SetRunning(false);
  system.StopInput(true);
}

// The frame range the save and the overlay use; entering preview mode
// replaces it with the background film's.
class SaveRangeKeeper {
 public:
  SaveRangeKeeper() : first_(Settings().save.firstFrame.load()), last_(Settings().save.lastFrame.load()) {}
  ~SaveRangeKeeper() {
    Settings().save.firstFrame = first_;
    Settings().save.lastFrame = last_;
  }
  SaveRangeKeeper(const SaveRangeKeeper&) = delete;
  SaveRangeKeeper& operator=(const SaveRangeKeeper&) = delete;

 private:
  int first_;
  int last_;
};

}  // namespace

bool TakeBackground(Kel::SystemHolder<System>& holder, StClearImageTransform& transform, HWND notifyWindow,
                    int bytesPerPixel) {
  // Declared before the lock, so refused writes are shown once it is free.
  const LIB3::DeferredErrorBoxes boxes;
  std::lock_guard lock(GlobalFrameLock());
  System* system = holder.IsOpened() ? holder.Get() : nullptr;
  if (!system) {
    PostNotifyText(notifyWindow, std::string(kNotTaken) + "камера не открыта");
    return false;
  }
  const SaveRangeKeeper range;
  const GUID mode = system->Mode();
  BackgroundSettings settings(*system);
  settings.Remember();
  bool taken = false;
  system->SetMode(&MODE_Input);
  try {
    StRecordSource record(holder, notifyWindow);
    record.SetBytesPerPixel(bytesPerPixel);
    settings.WriteCaptureValues();
    RecordFilm(*system, record);
    system->SetMode(&MODE_Preview);
    system->StartInput();
    taken = transform.Capture(system->Handle(), system->Converter(), bytesPerPixel);
    system->StopInput(true);
    if (!taken) PostNotifyText(notifyWindow, kNotTaken + transform.LastErrorText());
  } catch (const LIB3::CError& e) {
    PostNotifyText(notifyWindow, kNotTaken + e.Text());
  } catch (const std::exception& e) {
    PostNotifyText(notifyWindow, std::string(kNotTaken) + e.what());
  }
  system->SetMode(&mode);
  settings.Restore();
  return taken;
}

}  // namespace Orvo
