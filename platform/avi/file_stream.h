// How the AVI multiplexer reaches the file writer's file. The link between
// the multiplexer's output pin and the writer's input pin is an ordinary
// pin connection (a graph shows AVIMux -> FileWriter), but no samples cross
// it: the multiplexer writes the file the writer opened, through this
// interface of the writer's pin. Both filters live in this library, so the
// interface may pass C++ objects; it is never offered to other modules'
// code through a published identifier.
#pragma once

#include <memory>

#include "platform/avi/file_sink.h"
#include "platform/com/unknown.h"

inline constexpr IID IID_IKelFileStream{0x6B0E2C53, 0x3F1A, 0x4C7D, {0x9A, 0x20, 0x41, 0x5E, 0x0D, 0x8B, 0x72, 0x11}};

struct IKelFileStream : IUnknown {
  // The file of the current run; VFW_E_WRONG_STATE while the writer is stopped.
  virtual HRESULT GetRunFile(std::shared_ptr<plat::FileSink>* sink) = 0;

 protected:
  ~IKelFileStream() = default;
};
