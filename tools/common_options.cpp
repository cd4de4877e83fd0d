#include "tools/common_options.h"

#include <cstdio>
#include <stdexcept>

#include "shell/app/ComErr.h"

using COMERR::Check;

namespace kelorvo {

const char* const kCommonHelp =
    "  --gain 0-8          digital gain\n"
    "  --levels B,W        black and white levels\n"
    "  --gamma 0|1         gamma curve off or on\n"
    "  --summation         2x2 summation\n"
    "  --wb auto|R,G,B     white balance, measured or with fixed gains\n"
    "  --background        subtract the recorded background\n";

std::set<std::string> commonValueOptions() { return {"--gain", "--levels", "--gamma", "--wb"}; }
std::set<std::string> commonFlags() { return {"--summation", "--background"}; }

void applyCommonOptions(const Args& args, CGraph& graph) {
  ComPtr<ICamera2> camera;
  if (!graph.GetCamera2(camera.put())) throw std::invalid_argument("the capture filter has no camera interface");
  if (const auto gain = args.value("--gain")) {
    const long g = parseNumber(*gain, "the gain");
    if (g < 0 || g > 8) throw std::invalid_argument("the gain runs from 0 to 8");
    Check(camera->SetDigitalGain(static_cast<int>(g)));
  }
  if (const auto levels = args.value("--levels")) {
    int black = 0, white = 0;
    char extra = 0;
    if (std::sscanf(levels->c_str(), "%d,%d%c", &black, &white, &extra) != 2 || black < 0 || white <= black)
      throw std::invalid_argument("levels are written BLACK,WHITE with BLACK below WHITE");
    Check(camera->SetLevels(black, white));
  }
  if (const auto gamma = args.value("--gamma")) {
    const long on = parseNumber(*gamma, "the gamma");
    // The camera keeps only a flag: any other number would silently mean "on".
    if (on != 0 && on != 1) throw std::invalid_argument("the gamma is 0 (off) or 1 (on)");
    Check(camera->SetGamma(static_cast<int>(on)));
  }
  if (args.has("--summation")) Check(camera->SetSummation(1));
  if (const auto wb = args.value("--wb")) {
    if (*wb == "auto") {
      Check(camera->SetWhiteBalance(1, 1));
    } else {
      int r = 0, g = 0, b = 0;
      char extra = 0;
      if (std::sscanf(wb->c_str(), "%d,%d,%d%c", &r, &g, &b, &extra) != 3)
        throw std::invalid_argument("white balance is auto or R,G,B");
      Check(camera->SetWhiteBalance(1, 0));
      Check(camera->SetWhiteBalanceGains(r, g, b));
    }
  }
  if (args.has("--background") && !graph.EnableBackgroundSubtraction(TRUE))
    throw COMERR::CTextError(graph.GetLastErrorText());
}

}  // namespace kelorvo
