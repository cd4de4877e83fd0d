// The hardware library's C interface: camera, frame grabber, options, lists,
// error reports, DMA and the frame cycle. Every call the capture filter makes
// to the hardware goes through these functions.
//
// Conventions
// - Handles are opaque 32-bit values; 0 is never a valid handle.
// - Results: 0 success, positive failure. A failing call fills the error data
//   handle passed as its last argument (when that handle is valid); format it
//   with KelLib3ErrorSPrintf. List and version calls return no result code.
// - Texts returned by the library are 8-bit "ANSI" text in code page 1251
//   (Russian Windows), as lists obtained with KelLib3ListGetStdList deliver
//   them; KelLib3ListGetStdListML can deliver the same lists in UTF-8. Callers
//   convert CP1251 -> UTF-16/UTF-8 themselves.
// - All functions are thread-safe. KelLib3InDInterfaceWait releases the
//   library while it waits.
//
// Identifiers (see the option list, list 2, for the full set):
//   system option 0x700001  controller index, set before KelLib3SystemInit
//   options 0x4000xx        camera and grabber settings (scalar/enum/rect)
//   0xC0300002 index 0      input control A (0xA0000064 start, 0xA0000068
//                           stop, 0xA0000066 status)
//   0xC0300002 index 1      camera control (0xA0000065 arm, 0xA0000066 status)
//   0xC0300003 index 0      input control B (0xB0000005 open frame cycle,
//                           0xB0000001 next part, 0xB0000004 close cycle,
//                           0xA0000066 status)
//   0xC0000002 index 0/1    board / camera description: 0x50000065 text
//   0xC0000000 index 0      input interface (KelLib3SystemGetInDInterface)
//   0x9000xx                information items (list 12)
//
// Options of the virtual camera (kind, units, range; native steps)
//   0x400002    exposure        scalar 1/2/3  100 ns .. period - 10 ns x rows; 10 ns
//   0x400003/0  frame period    scalar 1/2/3/31  5 us .. 1 s; 10 ns
//   0x400003/1  shutter period  scalar 1/2/3  100 ns .. frame period (KELLIB3_SHUTTER=1)
//   0x400004    start event     enum 4 by command, 5 external trigger, 33 continuous
//   0x400005    stop event      enum 37 or 5 after the frames to record, 4 on command
//   0x400006    input window    rect x, y, width in sensor pixels; height in delivered
//                               rows (covers height x decimation sensor rows). Steps: x, y,
//                               height 2; width 10 (>= 40). Max height = min(sensor /
//                               decimation, rows readable within the frame period).
//   0x400007    frames to record scalar 0/6  1 .. capacity
//   0x400009    memory partitions scalar 0  1 .. 8. 1 = film mode (input records a film,
//                               0x400020 selects its frames); 2+ = live mode (status 3,
//                               the newest frame is delivered, 0x400020 keeps the
//                               visible-frame period). Every write frees the memory:
//                               the film is discarded and the next start records anew.
//   0x40000a    gain            scalar 0  1 .. 16 (linear factor)
//   0x40000d    black level     scalar 0  0 .. 255 (offset of the 10-bit samples)
//   0x400011    test mode       enum 1 on, 2 off
//   0x400016    trigger edge    enum 16 rising, 17 falling
//   0x400017    sync source     enum 20 internal, 21 external
//   0x400020    frame range     scalar 0: film mode: min/max = recorded range (-1/-1 when
//                               none), writes are clamped into it; live mode: 0..partitions-1
//   0x400022    shutter voltage scalar 12  0 .. 800 V (KELLIB3_SHUTTER=1)
//   0x400041    shutter count   scalar 0  1 .. 16 (KELLIB3_SHUTTER=1)
//   0x400042    shutter mode    enum 40 off, 41 synchronous, 42 multi-exposure (KELLIB3_SHUTTER=1)
//   0x400054    stop delay      scalar 0  0 .. 10000 frames after a stop command
//   0x400055    decimation      scalar 0  1 .. 4
// Out-of-range scalars and rectangles are adjusted to the nearest allowed
// step; units an option does not take and values an enum does not offer are
// refused. The frame period, window, decimation and partitions cannot change
// while a film is recorded (refused); other settings apply from the next frame.
// Capacity: information 0x900003 = frame slots per partition n; a film holds
// partitions x (n - 1) frames.
#pragma once

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef uint32_t KL3_HANDLE;
typedef int32_t KL3_RESULT;

// ---- command numbers --------------------------------------------------------
#define KELLIB3_CMD_START_INPUT 0xA0000064u
#define KELLIB3_CMD_ARM_CAMERA 0xA0000065u
#define KELLIB3_CMD_READ_STATUS 0xA0000066u
#define KELLIB3_CMD_STOP_INPUT 0xA0000068u
#define KELLIB3_CMD_OPEN_CYCLE 0xB0000005u
#define KELLIB3_CMD_NEXT_PART 0xB0000001u
#define KELLIB3_CMD_CLOSE_CYCLE 0xB0000004u
#define KELLIB3_CMD_READ_TEXT 0x50000065u

// ---- status block (command 0xA0000066), 272 bytes ---------------------------
// state: 3 idle (a frame can be taken; recording finished), 7 recording with
// frames available, 5 armed and waiting for the external start trigger.
#define KELLIB3_STATE_IDLE 3
#define KELLIB3_STATE_WAIT_TRIGGER 5
#define KELLIB3_STATE_RECORDING 7
typedef struct KelLib3StatusBlock {
  uint32_t state;
  int32_t framesRecorded;   // frames taken since input started (film mode)
  int32_t firstFrame;       // first film frame in memory, -1 when none
  int32_t lastFrame;        // last film frame in memory, -1 when none
  int32_t capacity;         // frames the memory holds for the present window
  int32_t partitions;       // option 0x400009
  int32_t inputRunning;     // 1 between start and stop of input
  int32_t nextPart;         // next part of the open frame cycle, 0 when none
  uint32_t reserved[60];
} KelLib3StatusBlock;       // sizeof == 272

// ---- next part (command 0xB0000001), 16 bytes -------------------------------
typedef struct KelLib3PartBlock {
  uint32_t nextPart;        // 1..4: the part the next DMA delivers; 5: all done
  uint32_t partCount;       // 4
  uint32_t partBytes;       // DMA bytes of one part
  uint32_t frameNumber;     // film or live frame number of the open cycle
} KelLib3PartBlock;

// ---- text block (command 0x50000065), pass 284 bytes -------------------------
// The first word is the capacity of the text area; the text address is a
// pointer-sized field at offset 8, so the block works on 64-bit machines.
// The usual set-up: capacity = 256, text = area. The library writes at most
// `capacity` bytes (with the terminating zero) at `text`. Minimum block size:
// offsetof(KelLib3TextBlock, area).
typedef struct KelLib3TextBlock {
  uint32_t capacity;
  uint32_t reserved;
  char* text;
  char area[256];
} KelLib3TextBlock;
#define KELLIB3_TEXT_BLOCK_BYTES 284u

// ---- data header --------------------------------------------------------------
// Keys for DataheaderGetU32/SetU32 (0..15 exist).
#define KELLIB3_KEY_WIDTH 4
#define KELLIB3_KEY_HEIGHT 5
#define KELLIB3_KEY_PIXEL_FORMAT 9
#define KELLIB3_KEY_LAYOUT 10          // 0x10000: four-part packed DMA layout
#define KELLIB3_KEY_BITS_PER_PIXEL 11  // 10 for the input
#define KELLIB3_KEY_PART_COUNT 12      // 4 for the input
// Pixel formats (key 9): 10-bit samples.
#define KELLIB3_PIXEL_MONO10 65537u
#define KELLIB3_PIXEL_BAYER10 65538u   // BGGR-style mosaic: even row, odd column red
#define KELLIB3_PIXEL_BAYER10_ALT 65541u
// Input header type words: major 3 (image frame), minor 10 (bits per sample);
// the 64-bit size is the DMA size of ONE part.
// KelLib3DataheaderCopy writes this flat layout (KelLib3DataheaderSize bytes):
typedef struct KelLib3DataheaderImage {
  uint32_t magic;           // 0x3148444B ("KDH1")
  uint32_t typeMajor;
  uint32_t typeMinor;
  uint32_t sizeLow;
  uint32_t sizeHigh;
  uint32_t values[16];      // by key
} KelLib3DataheaderImage;

// ---- units (list 3) and special values -----------------------------------------
// 0 plain number, 1 ns, 2 us, 3 ms, 6 frames to record, 12 volts,
// 31 frames per second. Values in a coarser unit are truncated; ranges are
// rounded inwards. Frame rate (31) converts as 1e9 / period in ns, rounded.
#define KELLIB3_UNIT_NONE 0u
#define KELLIB3_UNIT_NS 1u
#define KELLIB3_UNIT_US 2u
#define KELLIB3_UNIT_MS 3u
#define KELLIB3_UNIT_FRAMES 6u
#define KELLIB3_UNIT_VOLT 12u
#define KELLIB3_UNIT_FPS 31u

// Information value type 32: the value is an enumerated value of list 4.
#define KELLIB3_INFO_TYPE_NUMBER 0u
#define KELLIB3_INFO_TYPE_TEXT 32u

// ---- library ----------------------------------------------------------------
const char* KelLib3Version(void);
KL3_RESULT KelLib3Init(KL3_HANDLE error);
KL3_RESULT KelLib3Exit(KL3_HANDLE error);

// ---- error data -------------------------------------------------------------
KL3_RESULT KelLib3ErrorDataCreate(KL3_HANDLE* error);
KL3_RESULT KelLib3ErrorDataFree(KL3_HANDLE error);
// Placeholders: %t type, %c code, %m message (from `textList`, list 1),
// %f source file, %l line, %d date and time, %i object id (the handle
// concerned), %I object file, %r remark (what exactly was wrong), %% percent.
// The result is always zero-terminated; a too small buffer truncates it.
KL3_RESULT KelLib3ErrorSPrintf(char* buffer, uint32_t bufferSize, const char* format,
                               KL3_HANDLE error, KL3_HANDLE textList);

// ---- lists --------------------------------------------------------------------
// Lists: 1 error texts, 2 options (text, identifier), 3 units, 4 enumerated
// values, 12 information items. Returns 0 for an unknown list.
KL3_HANDLE KelLib3ListGetStdList(uint32_t list);
// language: 0 or 1 Russian; encoding: 1 UTF-8, 2 CP1251 (ANSI).
KL3_HANDLE KelLib3ListGetStdListML(uint32_t list, uint32_t language, uint32_t encoding);
// Non-zero while `position` exists; the text stays valid for the process.
int32_t KelLib3ListGetAll(const char** text, int32_t* id, uint32_t position, KL3_HANDLE list);
// Non-zero when an entry with `id` exists (the first one is taken).
int32_t KelLib3ListGetString(const char** text, int32_t id, KL3_HANDLE list);

// ---- system -------------------------------------------------------------------
KL3_RESULT KelLib3SystemCreate(uint32_t type, KL3_HANDLE* system, KL3_HANDLE error);
KL3_RESULT KelLib3SystemInit(KL3_HANDLE system, KL3_HANDLE error);
KL3_RESULT KelLib3SystemDestroy(KL3_HANDLE system, KL3_HANDLE error);
KL3_RESULT KelLib3SystemGetOptionCInterface(KL3_HANDLE system, uint32_t id, uint32_t index,
                                            KL3_HANDLE* option, KL3_HANDLE error);
// A positive result also means "no interface with this identifier and index".
KL3_RESULT KelLib3SystemGetCInterface(KL3_HANDLE system, uint32_t id, uint32_t index,
                                      KL3_HANDLE* iface, KL3_HANDLE error);
KL3_RESULT KelLib3SystemGetInDInterface(KL3_HANDLE system, uint32_t id, uint32_t index,
                                        KL3_HANDLE* input, KL3_HANDLE error);

// ---- control interfaces ----------------------------------------------------------
KL3_RESULT KelLib3CallCInterface_0(KL3_HANDLE iface, uint32_t command, KL3_HANDLE error);
// The block must be at least as large as the command's block (status 272,
// next part 16, text 16 + capacity).
KL3_RESULT KelLib3CallCInterface_1(KL3_HANDLE iface, uint32_t command, uint32_t blockSize,
                                   void* block, KL3_HANDLE error);

// ---- input interface and DMA --------------------------------------------------------
KL3_RESULT KelLib3InDInterfaceGetType(KL3_HANDLE input, KL3_HANDLE dataheader, KL3_HANDLE error);
// Ready when either word is non-zero: bytes of the next part, frames ready.
KL3_RESULT KelLib3InDInterfaceQueryReady(KL3_HANDLE input, uint32_t* partBytes,
                                         uint32_t* framesReady, KL3_HANDLE error);
// Blocks until a frame may be ready or `timeoutMs` (virtual ms) passed.
KL3_RESULT KelLib3InDInterfaceWait(KL3_HANDLE input, uint32_t timeoutMs, KL3_HANDLE error);
KL3_RESULT KelLib3InDInterfaceBeginBlock(KL3_HANDLE input, KL3_HANDLE error);
// Copies the next part of the open frame cycle into the context's buffer.
KL3_RESULT KelLib3InDInterfaceStartDma(KL3_HANDLE input, KL3_HANDLE dmaContext, KL3_HANDLE error);
KL3_RESULT KelLib3InDInterfaceQueryDmaEnd(KL3_HANDLE input, uint32_t* done, KL3_HANDLE error);
KL3_RESULT KelLib3InDInterfaceEndBlock(KL3_HANDLE input, KL3_HANDLE error);
// Per-frame attributes of the open cycle: 0x400004 orientation (0 or 180),
// 0x400020 frame number, 0x400002 exposure in ns.
KL3_RESULT KelLib3InDInterfaceGetAddOnAtributeType(KL3_HANDLE input, uint32_t id, uint32_t index,
                                                   int32_t* value, KL3_HANDLE error);
KL3_RESULT KelLib3InDInterfaceGetAddOnAtributeTotal(KL3_HANDLE input, uint32_t* count,
                                                    KL3_HANDLE error);
KL3_RESULT KelLib3InDInterfaceGetAddOnAtributeNum(KL3_HANDLE input, uint32_t position,
                                                  uint32_t* id, uint32_t* index, KL3_HANDLE error);

// The buffer address is pointer-sized; the size is 64 bits as low/high word.
KL3_RESULT KelLib3DmaCreateContext(KL3_HANDLE* context, void** buffer, uint32_t sizeLow,
                                   uint32_t sizeHigh, KL3_HANDLE error);
KL3_RESULT KelLib3DmaFreeContext(KL3_HANDLE context, KL3_HANDLE error);

// ---- data header ----------------------------------------------------------------------
KL3_RESULT KelLib3DataheaderCreate(KL3_HANDLE* dataheader, KL3_HANDLE error);
KL3_RESULT KelLib3DataheaderInit(KL3_HANDLE dataheader, KL3_HANDLE error);
KL3_RESULT KelLib3DataheaderFree(KL3_HANDLE dataheader, KL3_HANDLE error);
KL3_RESULT KelLib3DataheaderGetType(KL3_HANDLE dataheader, uint32_t* typeMajor, uint32_t* typeMinor,
                                    uint32_t* sizeLow, uint32_t* sizeHigh, KL3_HANDLE error);
KL3_RESULT KelLib3DataheaderSetType(KL3_HANDLE dataheader, uint32_t typeMajor, uint32_t typeMinor,
                                    uint32_t sizeLow, uint32_t sizeHigh, KL3_HANDLE error);
KL3_RESULT KelLib3DataheaderGetU32(KL3_HANDLE dataheader, uint32_t key, uint32_t* value,
                                   KL3_HANDLE error);
KL3_RESULT KelLib3DataheaderSetU32(KL3_HANDLE dataheader, uint32_t key, uint32_t value,
                                   KL3_HANDLE error);
KL3_RESULT KelLib3DataheaderSize(KL3_HANDLE dataheader, uint32_t* size, KL3_HANDLE error);
KL3_RESULT KelLib3DataheaderCopy(KL3_HANDLE dataheader, void* target, uint32_t targetSize,
                                 KL3_HANDLE error);

// ---- information --------------------------------------------------------------------------
KL3_RESULT KelLib3GetInfoScalarVal(KL3_HANDLE info, int32_t* value, uint32_t* type, KL3_HANDLE error);

// ---- options --------------------------------------------------------------------------------
// Scalars: out-of-range values are adjusted to the nearest allowed step
// (every option but 0x700001, which refuses them); a unit the option does not
// accept is refused. Enumerated values that the option does not offer are
// refused; rectangles are adjusted.
KL3_RESULT KelLib3OptionGetScalar(KL3_HANDLE option, int32_t* value, uint32_t unit, KL3_HANDLE error);
KL3_RESULT KelLib3OptionSetScalar(KL3_HANDLE option, int32_t value, uint32_t unit, KL3_HANDLE error);
KL3_RESULT KelLib3OptionGetScalarRange(KL3_HANDLE option, int32_t* minimum, int32_t* maximum,
                                       uint32_t unit, KL3_HANDLE error);
// Moves the value by `delta` in `unit`, at least one hardware step.
KL3_RESULT KelLib3OptionRelScalar(KL3_HANDLE option, int32_t delta, uint32_t unit, KL3_HANDLE error);
// *unit 0 asks for the option's first unit, any other unit for the one after
// it; fails after the last. An option with no physical unit reports 0 once.
KL3_RESULT KelLib3OptionNextScalarUnit(KL3_HANDLE option, uint32_t* unit, KL3_HANDLE error);
// 0 when the option accepts the unit.
KL3_RESULT KelLib3OptionQueryScalarUnit(KL3_HANDLE option, uint32_t unit, KL3_HANDLE error);
KL3_RESULT KelLib3OptionGetEnumVal(KL3_HANDLE option, int32_t* value, KL3_HANDLE error);
KL3_RESULT KelLib3OptionSetEnumVal(KL3_HANDLE option, int32_t value, KL3_HANDLE error);
// 0 when the option (or a text information item) can take the value.
KL3_RESULT KelLib3OptionQueryEnumVal(KL3_HANDLE option, int32_t value, KL3_HANDLE error);
KL3_RESULT KelLib3OptionGetRect(KL3_HANDLE option, int32_t* x, int32_t* y, int32_t* width,
                                int32_t* height, KL3_HANDLE error);
KL3_RESULT KelLib3OptionSetRect(KL3_HANDLE option, int32_t x, int32_t y, int32_t width,
                                int32_t height, KL3_HANDLE error);
KL3_RESULT KelLib3OptionMinRect(KL3_HANDLE option, int32_t* x, int32_t* y, int32_t* width,
                                int32_t* height, KL3_HANDLE error);
KL3_RESULT KelLib3OptionMaxRect(KL3_HANDLE option, int32_t* x, int32_t* y, int32_t* width,
                                int32_t* height, KL3_HANDLE error);

#ifdef __cplusplus
}  // extern "C"
#endif
