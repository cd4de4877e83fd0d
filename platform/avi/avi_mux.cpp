#include "platform/avi/avi_mux.h"

#include <cmath>

#include "platform/avi/avi_mux_pins.h"
#include "platform/com/co_create.h"
#include "platform/com/standard_classes.h"
#include "platform/dshow/errors.h"

namespace {

[[maybe_unused]] const bool registered = [] {
  plat::registerBuiltinClass(CLSID_AviDest, &CAviMux::CreateInstance);
  return true;
}();

constexpr REFERENCE_TIME kDefaultFrameDuration = 400000;  // 25 frames per second
// A jump in the time stamps longer than this starts counting afresh
// instead of filling the film with empty frames.
constexpr std::int64_t kLongestGap = 250;

}  // namespace

IUnknown* CAviMux::CreateInstance(IUnknown* outer, HRESULT* phr) {
  HRESULT hr = S_OK;
  auto* mux = new CAviMux(outer);
  mux->input_ = std::make_unique<CAviMuxInputPin>(mux, &mux->filterLock_, &hr);
  mux->output_ = std::make_unique<CAviMuxOutputPin>(mux, &mux->filterLock_, &hr);
  if (phr) *phr = hr;
  return mux->GetNonDelegatingUnknown();
}

CAviMux::CAviMux(IUnknown* outer) : CBaseFilter("CAviMux", outer, &filterLock_, CLSID_AviDest) {}

CAviMux::~CAviMux() = default;

CBasePin* CAviMux::GetPin(int n) {
  if (n == 0) return input_.get();
  if (n == 1) return output_.get();
  return nullptr;
}

HRESULT CAviMux::Pause() {
  CAutoLock lock(&filterLock_);
  if (m_State == State_Stopped && input_->IsConnected()) {
    if (!output_->IsConnected()) return VFW_E_NOT_CONNECTED;
    std::shared_ptr<plat::FileSink> file;
    const HRESULT hr = output_->runFile(&file);
    if (FAILED(hr)) return hr;
    std::lock_guard film(filmLock_);
    film_ = std::make_unique<plat::AviWriter>(std::move(file));
    filmOver_ = false;
    timed_ = false;
    nextIndex_ = 0;
  }
  return CBaseFilter::Pause();
}

HRESULT CAviMux::Stop() {
  CAutoLock lock(&filterLock_);
  {
    std::lock_guard film(filmLock_);
    if (film_) endFilm(E_ABORT);
  }
  return CBaseFilter::Stop();
}

void CAviMux::endFilm(HRESULT failure) {
  const HRESULT finished = film_->finish();
  film_.reset();
  filmOver_ = true;
  const HRESULT reported = FAILED(failure) ? failure : finished;
  if (FAILED(reported)) NotifyEvent(EC_ERRORABORT, reported, 0);
}

HRESULT CAviMux::beginFilm(IMediaSample* first) {
  const auto spec = plat::aviStreamSpecOf(input_->CurrentMediaType());
  if (!spec) return VFW_E_TYPE_NOT_ACCEPTED;
  frameDuration_ = spec->frameDuration;
  REFERENCE_TIME start = 0, stop = 0;
  if (frameDuration_ <= 0 && first && first->GetTime(&start, &stop) == S_OK && stop > start) {
    frameDuration_ = stop - start;
  }
  if (frameDuration_ <= 0) frameDuration_ = kDefaultFrameDuration;
  return film_->begin(*spec, frameDuration_);
}

HRESULT CAviMux::receiveFrame(IMediaSample* sample) {
  std::lock_guard film(filmLock_);
  if (!film_ || filmOver_) return VFW_E_WRONG_STATE;
  HRESULT hr = film_->begun() ? S_OK : beginFilm(sample);
  BYTE* data = nullptr;
  if (SUCCEEDED(hr)) hr = sample->GetPointer(&data);
  const LONG length = sample->GetActualDataLength();
  const auto spec = plat::aviStreamSpecOf(input_->CurrentMediaType());
  const bool raw = spec && spec->rawImageSize != 0;
  if (SUCCEEDED(hr) && (length <= 0 || (raw && static_cast<std::size_t>(length) != spec->rawImageSize))) {
    hr = E_INVALIDARG;  // a short picture would spoil the film
  }
  if (FAILED(hr)) {
    endFilm(hr);
    return hr;
  }

  std::int64_t index = nextIndex_;
  REFERENCE_TIME start = 0, stop = 0;
  const HRESULT timed = sample->GetTime(&start, &stop);
  if (timed == S_OK || timed == VFW_S_NO_STOP_TIME) {
    if (!timed_) {
      timed_ = true;
      firstStart_ = start;
    }
    const auto byTime = std::llround(static_cast<double>(start - firstStart_) / static_cast<double>(frameDuration_));
    if (byTime >= nextIndex_ && byTime - nextIndex_ <= kLongestGap) {
      index = byTime;
    } else {
      firstStart_ = start - nextIndex_ * frameDuration_;
    }
  }
  const bool key = raw || sample->IsSyncPoint() == S_OK;
  hr = film_->writeFrame(data, static_cast<std::size_t>(length), index, key);
  if (FAILED(hr)) {
    endFilm(hr);
    return hr;
  }
  nextIndex_ = index + 1;
  return S_OK;
}

HRESULT CAviMux::endOfStream() {
  {
    std::lock_guard film(filmLock_);
    if (!film_ || filmOver_) return S_OK;
    // An empty film is still a valid file.
    HRESULT hr = film_->begun() ? S_OK : beginFilm(nullptr);
    const HRESULT finished = film_->finish();
    if (SUCCEEDED(hr)) hr = finished;
    film_.reset();
    filmOver_ = true;
    if (FAILED(hr)) {
      NotifyEvent(EC_ERRORABORT, hr, 0);
      return hr;
    }
  }
  return output_->deliverEndOfStream();
}
