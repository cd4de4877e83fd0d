// The window that shows the graph's picture: it sizes itself from the
// picture's native size, the zoom and the decimation stretch, and paints
// the renderer's newest frame scaled into itself. The renderer only says
// that a frame arrived; the window paints at most once per screen refresh
// and reads just the newest frame, so a fast camera never queues paints
// or frames behind it.
#pragma once
#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>
#include <filesystem>
#include <functional>
#include <optional>

#include "platform/graph/renderer_frames.h"
#include "platform/graph/vmr_interfaces.h"
#include "shared/property_interfaces.h"
#include "shell/app/WindowBinding.h"

class CGraph;

class CVideoWindow : public QWidget {
  Q_OBJECT
 public:
  // `zoom` gives the main frame's current zoom value.
  CVideoWindow(CGraph& graph, std::filesystem::path ini, std::function<int()> zoom, QWidget* parent);
  ~CVideoWindow() override;

  HWND hwnd() const { return binding_.hwnd(); }
  // Re-sizes the window for `zoom` (percent, or -1 to fit the parent).
  void SizeFor(int zoom);
  // The decimation as the window reads it: nothing without the option.
  std::optional<long> Decimation() const;

  std::uint64_t FramesPainted() const { return framesPainted_; }
  std::uint64_t NewestFrameShown() const { return frame_.counter; }

 signals:
  // After SizeFor: the window's new size, for the camera view to scroll.
  void Sized(QSize size);
  // After each paint that showed a new frame.
  void FramePainted(quint64 counter);

 protected:
  bool event(QEvent* e) override;
  void paintEvent(QPaintEvent*) override;
  void resizeEvent(QResizeEvent*) override;

 private:
  void frameArrived();

  CGraph& graph_;
  std::function<int()> zoom_;
  int stretch_;
  WindowBinding binding_{this};
  ComPtr<IVMRWindowlessControl> windowless_;
  ComPtr<IUnknown> mediaEvent_;
  ComPtr<IScalarProperty> decimation_;
  plat::VideoFrame frame_;
  QTimer paintTimer_;
  QElapsedTimer sinceLastPaint_;
  std::uint64_t framesPainted_ = 0;
};
