// "О программе WinKelOrvoShell": the version, the hardware library's
// version and, when the camera answers, its serial number.
#pragma once
#include <QDialog>

struct ICamera2;

class CAboutDlg : public QDialog {
 public:
  // `camera` may be null: the serial-number line then stays empty.
  CAboutDlg(ICamera2* camera, QWidget* parent);
};
