// Every runtime test works on its own temporary class registry.
#pragma once

#include <gtest/gtest.h>

#include "platform/com/class_registry.h"
#include "tests/support/temp_env.h"

class RegistryTest : public ::testing::Test {
 protected:
  kel::test::TempDir dir_;
  std::filesystem::path file_ = dir_ / "registry";
  kel::test::ScopedEnv env_{"KELORVO_REGISTRY", file_.string()};
  plat::ClassRegistry registry_ = plat::ClassRegistry::user();
};
