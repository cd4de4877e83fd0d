#include "shell/panels/PlaybackControl.h"

#include "platform/dshow/guids.h"
#include "shell/graph/Graph.h"

PlaybackControl::~PlaybackControl() {
  camera_.reset();
  seeking_.reset();
  mediaControl_.reset();
}

void PlaybackControl::Start(CGraph& graph) {
  if (IGraphBuilder* g = graph.Graph()) g->QueryInterface(IID_IMediaControl, mediaControl_.putVoid());
  graph.GetSeeking(seeking_.putVoid());
  graph.GetCamera(camera_.put());
  ReadPosition();
  LONGLONG first = 0, last = 0;
  if (seeking_ && seeking_->GetRange(&first, &TIME_FORMAT_FRAME, &last, &TIME_FORMAT_FRAME) == S_OK) {
    first_ = first;
    last_ = last;
  }
  if (camera_) camera_->RunCamera();
  if (mediaControl_) mediaControl_->Run();
}

void PlaybackControl::ReadPosition() {
  LONGLONG position = 0;
  if (seeking_ && seeking_->GetCurrentPosition(&position, &TIME_FORMAT_FRAME) == S_OK) current_ = position;
}

bool PlaybackControl::Seek(std::int64_t frame) {
  ReadPosition();
  if (frame > last_ || frame < first_) return false;
  current_ = frame;
  SetPosition(frame);
  return true;
}

void PlaybackControl::SetPosition(std::int64_t frame) {
  if (seeking_) seeking_->SetCurrentPosition(frame, &TIME_FORMAT_FRAME);
}

double PlaybackControl::Rate() {
  double rate = 1.0;
  if (seeking_) seeking_->GetRate(&rate);
  return rate;
}

void PlaybackControl::SetRate(double rate) {
  if (seeking_) seeking_->SetRate(rate);
}

void PlaybackControl::Resume() {
  if (seeking_) seeking_->Resume();
}

void PlaybackControl::Pause() {
  if (seeking_) seeking_->Pause();
}
