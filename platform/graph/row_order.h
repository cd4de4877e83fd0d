// How an upstream pin tells the video renderer in which order the rows of
// its samples go. A video type with a positive height declares bottom-up
// rows, as any DIB does; a source whose samples hold the top row first
// although its type says otherwise (the capture filter outside save mode)
// says so here, and the renderer hands its frames on as top-down.
#pragma once

#include "platform/com/unknown.h"

// {3D0B7C52-9E61-4F0A-B8C4-5A2E71D9F3A6}
inline constexpr IID IID_IVideoRowOrder{0x3D0B7C52, 0x9E61, 0x4F0A, {0xB8, 0xC4, 0x5A, 0x2E, 0x71, 0xD9, 0xF3, 0xA6}};

// Offered by the renderer's input pin. Holds for the connection: a new
// connection starts with the order its type declares.
struct IVideoRowOrder : IUnknown {
  virtual HRESULT SetTopDownRows(BOOL topDown) = 0;

 protected:
  ~IVideoRowOrder() = default;
};
