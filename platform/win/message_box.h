// Message boxes shown by code that has no user interface of its own. The
// host decides how a box appears by installing a hook: the desktop shell
// shows a dialog, headless hosts log the text. Texts are UTF-8.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/win/types.h"

// Buttons (low four bits of the flags).
inline constexpr UINT MB_OK = 0x00000000;
inline constexpr UINT MB_OKCANCEL = 0x00000001;
inline constexpr UINT MB_ABORTRETRYIGNORE = 0x00000002;
inline constexpr UINT MB_YESNOCANCEL = 0x00000003;
inline constexpr UINT MB_YESNO = 0x00000004;
inline constexpr UINT MB_RETRYCANCEL = 0x00000005;
inline constexpr UINT MB_TYPEMASK = 0x0000000F;
// Icons.
inline constexpr UINT MB_ICONERROR = 0x00000010;
inline constexpr UINT MB_ICONQUESTION = 0x00000020;
inline constexpr UINT MB_ICONEXCLAMATION = 0x00000030;
inline constexpr UINT MB_ICONINFORMATION = 0x00000040;
inline constexpr UINT MB_ICONMASK = 0x000000F0;
// Modality.
inline constexpr UINT MB_SYSTEMMODAL = 0x00001000;

// Answers.
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr int IDABORT = 3;
inline constexpr int IDRETRY = 4;
inline constexpr int IDIGNORE = 5;
inline constexpr int IDYES = 6;
inline constexpr int IDNO = 7;

namespace plat {

struct MessageBoxRequest {
  std::string text;
  std::string caption;
  UINT flags;
};

using MessageBoxHook = std::function<int(const MessageBoxRequest&)>;

// Installs the hook for the whole process and returns the one it replaces;
// an empty hook puts the headless default back. The hook is called on the
// thread that shows the box, possibly several threads at once.
MessageBoxHook setMessageBoxHook(MessageBoxHook hook);

// Shows the box through the current hook and returns the button chosen.
int MessageBox(std::string_view text, std::string_view caption, UINT flags);

// The headless answer: writes "caption: text" to standard error and picks
// the button that lets the caller carry on safely -- OK for OK boxes, No for
// yes/no boxes, Cancel for retry/cancel (so no caller retries forever),
// Abort for abort/retry/ignore.
int headlessMessageBox(const MessageBoxRequest& request);

// The texts of the boxes shown on this thread while it lives, in order; the
// boxes are shown as usual. A caller that gets only a failure code back
// from a call that reported its reason in a box takes the reason from here.
// Watches nest: each one sees every box shown during its life.
class ShownBoxes {
 public:
  ShownBoxes();
  ~ShownBoxes();
  ShownBoxes(const ShownBoxes&) = delete;
  ShownBoxes& operator=(const ShownBoxes&) = delete;

  const std::vector<std::string>& texts() const { return texts_; }

 private:
  friend int MessageBox(std::string_view text, std::string_view caption, UINT flags);

  ShownBoxes* outer_;
  std::vector<std::string> texts_;
};

}  // namespace plat
