// `codecs`: the names the save command's --codec takes, as the codec box
// lists them.
#include <cstdio>

#include "tools/commands.h"
#include "tools/session.h"

namespace kelorvo {

int codecsCommand() {
  Session session("codecs");
  if (!session.open()) return 1;
  std::vector<std::string> box;
  if (!session.graph().FillCompressorList(box)) return session.fail(session.graph().GetLastErrorText());
  for (const std::string& name : box) std::printf("%s\n", name.c_str());
  return 0;
}

}  // namespace kelorvo
