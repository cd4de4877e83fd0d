// The six setting blocks of the settings panels. Each decides which camera
// options it shows, in which order, under which captions and whether a
// change reaches the camera at once or when the panel goes.
#pragma once
#include "shell/settings_ui/SettingBlock.h"

namespace StockBlocks {

// Period, exposure, decimation, input window, gain, black level and the
// digital gain, changed at once; shown whether the camera offers them or not.
class CInputSettingBlock : public CSettingBlock {
 public:
  explicit CInputSettingBlock(QWidget* view);
};

// Start and stop of the input and its synchronisation, kept until the
// panel goes, so that they reach the camera when recording starts.
class CSyncSettingBlock : public CSettingBlock {
 public:
  explicit CSyncSettingBlock(QWidget* view);
};

// The image intensifier's options, only those the camera offers.
class CEopSettingBlock : public CSettingBlock {
 public:
  explicit CEopSettingBlock(QWidget* view);
};

// White balance (colour camera) or summation, then gamma and contrast.
class CTransColorSettingBlock : public CSettingBlock {
 public:
  explicit CTransColorSettingBlock(QWidget* view);
};

// The fragment of the film to save.
class CSelIntervalSettingBlock : public CSettingBlock {
 public:
  explicit CSelIntervalSettingBlock(QWidget* view);
};

// What the saved film carries about how it was shot.
class CSaveFilmParamsSettingBlock : public CSettingBlock {
 public:
  explicit CSaveFilmParamsSettingBlock(QWidget* view);
};

}  // namespace StockBlocks
