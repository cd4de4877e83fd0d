// The toolbar's pictures, drawn here.
#pragma once
#include <QIcon>

namespace ToolbarIcons {
QIcon Setup();
QIcon Input();
QIcon Preview();
QIcon Save();
QIcon Subtraction();
QIcon LoadBackground();
}  // namespace ToolbarIcons
