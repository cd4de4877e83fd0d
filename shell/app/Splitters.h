// The main frame's three splitters. Each keeps the size of its fixed pane
// (the log row, the settings column, the panel row) when the window
// resizes; the camera picture takes what is left.
#pragma once
#include <QSplitter>

// Camera column and settings over the log.
class CHorSplitter : public QSplitter {
 public:
  explicit CHorSplitter(QWidget* parent) : QSplitter(Qt::Vertical, parent) {
    setObjectName("CHorSplitter");
    setChildrenCollapsible(false);
  }
};

// Camera view on the left, settings column on the right.
class CVerSplitter : public QSplitter {
 public:
  explicit CVerSplitter(QWidget* parent) : QSplitter(Qt::Horizontal, parent) {
    setObjectName("CVerSplitter");
    setChildrenCollapsible(false);
  }
};

// The mode panel over the mode's settings.
class CPlayerSplitter : public QSplitter {
 public:
  explicit CPlayerSplitter(QWidget* parent = nullptr) : QSplitter(Qt::Vertical, parent) {
    setObjectName("CPlayerSplitter");
    setChildrenCollapsible(false);
  }
};
