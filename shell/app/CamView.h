// The camera column of each mode: a scroll view holding the video window,
// centring it when it is smaller than the view and starting scrolled to
// its middle when it is larger. Creating the set-up or preview view builds
// that mode's graph; a view whose graph cannot be built is not created.
#pragma once
#include <QScrollArea>
#include <filesystem>
#include <functional>
#include <memory>

#include "platform/win/types.h"

class CGraph;
class CVideoWindow;

class CCamView : public QScrollArea {
 public:
  struct Context {
    CGraph& graph;
    std::filesystem::path ini;
    std::function<int()> zoom;
    HWND mainFrame = nullptr;
  };

  CVideoWindow* VideoWindow() const { return video_; }

 protected:
  CCamView(const char* name, const Context& context);
  void resizeEvent(QResizeEvent* e) override;

 private:
  void videoSized(QSize size);

  std::function<int()> zoom_;
  CVideoWindow* video_;
};

class CSetupCamView : public CCamView {
 public:
  // Builds and runs the set-up graph first; null when that fails.
  static std::unique_ptr<CCamView> Create(const Context& context);

 private:
  using CCamView::CCamView;
};

class CPreviewCamView : public CCamView {
 public:
  // Builds the preview graph first; null when that fails.
  static std::unique_ptr<CCamView> Create(const Context& context);

 private:
  using CCamView::CCamView;
};

// The input view: the recorder panel builds its graph. A space typed here
// starts or stops a recording.
class CInputCamView : public CCamView {
 public:
  static std::unique_ptr<CCamView> Create(const Context& context);

 protected:
  void keyPressEvent(QKeyEvent* e) override;

 private:
  CInputCamView(const Context& context);
  HWND mainFrame_;
};

// The save view: the save panel builds its graph.
class CSaveFilmCamView : public CCamView {
 public:
  static std::unique_ptr<CCamView> Create(const Context& context);

 private:
  using CCamView::CCamView;
};
