#include "tests/shell/settings/settings_rig.h"

#include <gtest/gtest.h>

#include "platform/com/bstr_holder.h"
#include "platform/kernel/text_codec.h"
#include "shell/app/LogStore.h"

namespace kel::test {

SettingsRig::SettingsRig(CameraVars vars) : shell(std::move(vars)) {
  EXPECT_TRUE(graph.Create()) << graph.GetLastErrorText();
  host.emplace(graph, store, marks);
  LogStore::instance().Clear();
}

SettingsRig::~SettingsRig() {
  host.reset();
  graph.Destroy();
}

std::int32_t SettingsRig::cameraScalar(std::int32_t id, std::int32_t index, std::int32_t unit) {
  ComPtr<IScalarProperty> p;
  LONG value = -1;
  EXPECT_TRUE(graph.GetScalarProperty(id, index, p.put())) << graph.GetLastErrorText();
  if (p) {
    EXPECT_EQ(p->GetValue(&value, static_cast<UINT>(unit)), S_OK);
  }
  return value;
}

std::int32_t SettingsRig::cameraEnum(std::int32_t id) {
  ComPtr<IEnumProperty> p;
  LONG value = -1;
  EXPECT_TRUE(graph.GetEnumProperty(id, p.put())) << graph.GetLastErrorText();
  if (p) {
    EXPECT_EQ(p->GetValue(&value), S_OK);
  }
  return value;
}

void SettingsRig::setCameraScalar(std::int32_t id, std::int32_t index, std::int32_t value, std::int32_t unit) {
  ComPtr<IScalarProperty> p;
  ASSERT_TRUE(graph.GetScalarProperty(id, index, p.put())) << graph.GetLastErrorText();
  ASSERT_EQ(p->SetValue(value, static_cast<UINT>(unit)), S_OK);
}

std::vector<std::string> SettingsRig::log() { return LogStore::instance().Lines(); }

std::string optionName(CGraph& graph, std::int32_t id) {
  ComPtr<ICamera> camera;
  if (!graph.GetCamera(camera.put())) return {};
  plat::Bstr name;
  ComPtr<IScalarProperty> s;
  if (SUCCEEDED(camera->GetScalar(id, 0, s.put())) && SUCCEEDED(s->GetName(name.put())))
    return plat::utf16ToUtf8(name.view());
  return {};
}

}  // namespace kel::test
